// The HTML area text of the active view's image map (dialog 299): one
// read-only multi-line edit (1038) to copy the text from into a page.
//
// BuildAreaHtml puts the text into a memory block sized to hold it (false
// when the block cannot be had; the caller tells the user); the dialog shows
// it when it opens; FreeAreaHtml frees the block once the caller is done.
#pragma once

#include <string>

#include "framework/dialog.h"
#include "platform/memory.h"

namespace imagemap {
class RegionTable;
}

class CLinkTextDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 299;
    static constexpr int kTextId = 1038;
    // The block is never smaller than this.
    static constexpr size_t kMinBlockBytes = 0x5400;

    explicit CLinkTextDlg(QWidget* parent = nullptr);
    ~CLinkTextDlg() override;

    bool BuildAreaHtml(const imagemap::RegionTable& regions);
    void FreeAreaHtml();
    // The text in the block (CR LF line ends); empty without one.
    std::string AreaHtml() const;

protected:
    bool OnInitDialog() override;

private:
    MemHandle block_ = nullptr;
};
