// A dialog whose controls are found by numeric id.
//
// Controls come from a table (CreateControls) or are registered one by one
// (RegisterControl). Control events arrive as notifications in the dialog's
// command table: a click is the Command notification of the control's id,
// so IDOK (1) runs OnOK and IDCANCEL (2) runs OnCancel, as do Enter and
// Escape.
//
//   class SizeDlg : public framework::Dialog {
//   public:
//       SizeDlg() : Dialog(140) { CreateControls(kControls); }
//       int width = 64;
//   protected:
//       void DoDataExchange(framework::DataExchange& dx) override {
//           dx.Text(1000, width);
//           dx.MinMax(1000, width, 1, 2048);
//       }
//       void DeclareCommands(framework::CommandTable& t) override {
//           t.OnNotify(1000, framework::Notify::Changed, [this] { ... });
//           Dialog::DeclareCommands(t);
//       }
//   };
//
// Tests run modal dialogs without an event loop: a modal driver installed
// with ScopedModalDriver runs right after OnInitDialog and works the
// controls by id; a dialog it leaves open ends as IDCANCEL.
//
//   framework::ScopedModalDriver driver([](framework::Dialog& d) {
//       d.SetDlgItemInt(1000, 300);
//       d.ClickButton(framework::IDOK);
//   });
//   EXPECT_EQ(dlg.DoModal(), framework::IDOK);
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <vector>

#include <QDialog>
#include <QPointer>

#include "framework/command.h"
#include "framework/dialog_controls.h"
#include "framework/window_handle.h"
#include "framework/window_timer.h"

class QButtonGroup;

namespace framework {

class DataExchange;

class Dialog : public QDialog, public CommandTarget, public MessageWindow, public TimerOwner {
    Q_OBJECT
public:
    using ModalDriver = std::function<void(Dialog&)>;

    explicit Dialog(int templateId = 0, QWidget* parent = nullptr);
    ~Dialog() override;

    // The resource number the dialog stands for (lets a modal driver tell
    // dialogs apart).
    int TemplateId() const { return templateId_; }

    // Controls.
    void CreateControls(const std::vector<ControlTemplate>& controls);
    // Registers a control under an id (replacing an earlier one) and
    // connects its notifications. The control should be a child of the dialog.
    void RegisterControl(int id, QWidget* control);
    QWidget* GetDlgItem(int id) const;
    template <class T>
    T* Item(int id) const {
        return qobject_cast<T*>(GetDlgItem(id));
    }
    // The id of a registered control, or 0.
    int GetDlgCtrlID(const QWidget* control) const;

    void SetDlgItemText(int id, const QString& text);
    QString GetDlgItemText(int id) const;
    void SetDlgItemInt(int id, int value, bool isSigned = true);
    // The control's text as a decimal number (blanks around it allowed, a
    // sign only when signed); *ok tells whether it was one. A spin box gives
    // its value.
    int GetDlgItemInt(int id, bool* ok = nullptr, bool isSigned = true) const;

    // 0 unchecked, 1 checked, 2 indeterminate (three-state check boxes).
    void CheckDlgButton(int id, int check);
    int IsDlgButtonChecked(int id) const;
    // Checks `checkId` and clears every other button with an id in first..last.
    void CheckRadioButton(int firstId, int lastId, int checkId);
    // The first checked button with an id in first..last, or 0.
    int GetCheckedRadioButton(int firstId, int lastId) const;
    // Makes registered radio buttons one exclusive group (in this order).
    void MakeRadioGroup(std::initializer_list<int> ids);
    // The group a radio button belongs to, in order; empty when none.
    std::vector<int> RadioGroupOf(int id) const;

    void EnableDlgItem(int id, bool enable = true);
    void ShowDlgItem(int id, bool show = true);
    void GotoDlgCtrl(int id);

    // Clicks a button as the user would (a disabled button does nothing); an
    // id without a control sends its command to the dialog (IDOK, IDCANCEL).
    void ClickButton(int id);
    // Sends a control notification to the dialog's table (custom controls
    // report through this too).
    void NotifyControl(int id, Notify code);

    // Modal: OnInitDialog, then the event loop (or the modal driver) until
    // EndDialog; returns its result, -1 when the dialog could not start.
    int DoModal();
    // Modeless: OnInitDialog, then shown (unless `visible` is false).
    bool Create(QWidget* parent = nullptr, bool visible = true);
    // Ends a modeless dialog (hidden, OnDestroy); Create may run again.
    void DestroyWindow();
    bool IsCreated() const { return created_; }
    bool IsModalRunning() const { return running_; }
    // Ends a modal dialog with the result; hides a modeless one.
    void EndDialog(int result);

    // Exchanges the members with the controls: save true reads and checks
    // the controls, false fills them. False when a check failed (the user
    // has been told and the control has the focus).
    bool UpdateData(bool saveAndValidate = true);

    // The modal driver for tests; returns the previous one.
    static ModalDriver SetModalDriver(ModalDriver driver);
    // The driver a modal run would use: this library's own, else the one the
    // program published; empty when no test installed one. Lets a dialog
    // running its own loop (a modeless one waiting for an answer) be driven
    // as DoModal is.
    static ModalDriver CurrentModalDriver();

protected:
    // Default: UpdateData(false). Return true.
    virtual bool OnInitDialog();
    // Default: UpdateData(true) and, when it passes, EndDialog(IDOK).
    virtual void OnOK();
    // Default: EndDialog(IDCANCEL).
    virtual void OnCancel();
    virtual void DoDataExchange(DataExchange& dx);
    // The dialog's window ends (after a modal run, or DestroyWindow).
    virtual void OnDestroy();

    void DeclareCommands(CommandTable& table) override;

    void accept() override;
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectNotifications(int id, QWidget* control);
    QButtonGroup* groupOf(int id) const;

    int templateId_;
    std::map<int, QPointer<QWidget>> controls_;
    std::vector<std::vector<int>> radioGroups_;
    std::vector<QButtonGroup*> buttonGroups_;
    bool running_ = false;
    bool modal_ = false;
    bool created_ = false;
    int result_ = IDCANCEL;
};

// Installs a modal driver for its lifetime.
class ScopedModalDriver {
public:
    explicit ScopedModalDriver(Dialog::ModalDriver driver);
    ~ScopedModalDriver();
    ScopedModalDriver(const ScopedModalDriver&) = delete;
    ScopedModalDriver& operator=(const ScopedModalDriver&) = delete;

private:
    Dialog::ModalDriver previous_;
};

}  // namespace framework
