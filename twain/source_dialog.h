// The source's own window, as the scanner connection shows it: the device's
// scan mode, bit depth, resolution and scan area under the backend's own
// titles, the lines read while scanning, 扫描 and 取消.
//
// It is modeless and not a child of the disabled main window. 扫描 posts
// MSG_XFERREADY to the parent, 取消 and the close box MSG_CLOSEDSREQ; during
// a scan 取消 cancels the scan instead. A list choice is given to the device
// at once; typed numbers when 扫描 is pressed.
#pragma once

#include <QPointer>

#include "framework/dialog.h"

namespace twain {

class CTwainSource;

class CSourceDialog : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 3501;
    static constexpr int kScanId = framework::IDOK;
    static constexpr int kModeId = 1001;
    static constexpr int kDepthId = 1002;
    static constexpr int kResolutionId = 1003;
    static constexpr int kTopLeftXId = 1004;
    static constexpr int kTopLeftYId = 1005;
    static constexpr int kBottomRightXId = 1006;
    static constexpr int kBottomRightYId = 1007;
    static constexpr int kLinesReadId = 1010;

    CSourceDialog(CTwainSource& source, QWidget* owner);

    // The device's option a control stands for ("mode", "depth", ...).
    static const char* OptionName(int id);

    // Reads every option's value into its control.
    void Refresh();
    void TransferStarted();
    void TransferEnded();
    void ShowLinesRead(int lines);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DeclareCommands(framework::CommandTable& table) override;

private:
    void post(int message);
    void applyChoice(int id);
    void applyTypedValues();

    CTwainSource& source_;
    QPointer<QWidget> owner_;
};

}  // namespace twain
