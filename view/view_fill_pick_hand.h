// The fill tool, the colour pick of the right button and the hand tool of a
// canvas view, as handlers of its tool table. Each passes its point to the
// view's own handler.
#pragma once

#include "tools/tool_dispatch.h"

class CPelmarkView;

namespace view {

class FillPickHandTools {
public:
    explicit FillPickHandTools(CPelmarkView& view) : fill_(view), pick_(view), hand_(view) {}
    // Sets the handlers of tools 556 and 553 and the colour pick.
    void Register(tools::ToolTable& table) {
        table.Set(tools::kFillTool, &fill_);
        table.Set(tools::kHandTool, &hand_);
        table.SetColorPick(&pick_);
    }

private:
    class Fill : public tools::ToolHandler {
    public:
        explicit Fill(CPelmarkView& view) : view_(view) {}
        void OnDown(tools::ImagePoint p) override;
        void OnDownRefused() override;

    private:
        CPelmarkView& view_;
    };
    class Pick : public tools::ToolHandler {
    public:
        explicit Pick(CPelmarkView& view) : view_(view) {}
        void OnDown(tools::ImagePoint p) override;

    private:
        CPelmarkView& view_;
    };
    class Hand : public tools::ToolHandler {
    public:
        explicit Hand(CPelmarkView& view) : view_(view) {}
        void OnDown(tools::ImagePoint p) override;
        void OnMove(tools::ImagePoint p) override;
        void OnUp(tools::ImagePoint p) override;

    private:
        CPelmarkView& view_;
    };

    Fill fill_;
    Pick pick_;
    Hand hand_;
};

}  // namespace view
