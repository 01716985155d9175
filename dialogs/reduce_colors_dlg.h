// The colour-reduction dialog (dialog 237 "减色"): reduce the active
// document's colours to a count (optimised for the image, or keeping the 20
// reserved colours), or turn it into 256 or 2 grey levels. Opened from the
// palette editor and the colour palette bar with the number of colours the
// document uses now.
#pragma once

#include <functional>

#include "framework/dialog.h"

class CPelmarkDoc;

class CReduceColorsDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 237;
    static constexpr int kCurrentCountId = 1145;
    static constexpr int kTargetLabelId = 1146;
    static constexpr int kTargetId = 1147;
    static constexpr int kOptimiseId = 1148;
    static constexpr int kKeepReservedId = 1149;
    static constexpr int kGrey256Id = 1150;
    static constexpr int kGrey2Id = 1151;

    // Tool-window services the dialog calls once it has changed the
    // document: the main frame's unless replaced (each may be empty).
    struct Services {
        // Deletes the colours the active document does not use.
        std::function<void()> deleteUnusedColors;
        // Repaints the tool palette's current tool.
        std::function<void()> refreshCurrentTool;
        // Tells the tool plug-in windows that the image changed.
        std::function<void()> syncToolWindows;
    };

    // `currentColors`: the colours the document uses now.
    CReduceColorsDlg(CPelmarkDoc* doc, int currentColors, QWidget* parent = nullptr);

    void SetServices(Services services) { services_ = std::move(services); }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DeclareCommands(framework::CommandTable& table) override;

private:
    // 0 optimise, 1 keep the reserved colours, 2 grey 256, 3 grey 2.
    int Mode() const;
    // The target count is accepted, or the message was shown.
    bool CheckTarget(int mode, int colors);
    void Warn(const QString& text);
    void Refresh();

    CPelmarkDoc* doc_;
    int currentColors_;
    Services services_;
};
