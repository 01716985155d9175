#include "twain/twain_source.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include "platform/message_box.h"
#include "twain/device_list_dlg.h"
#include "twain/source_dialog.h"
#include "twain/twain_event.h"

namespace twain {

CTwainSource::CTwainSource() = default;

CTwainSource::~CTwainSource() {
    dialog_.reset();
    Unload();
}

int CTwainSource::Load() {
    if (library_) return 0;
    ModHandle library = ModLoadSystem(libraryName_.c_str());
    if (!library) return 0;
    if (!sane_.Bind(library)) {
        ModFree(library);
        return 0;
    }
    library_ = library;
    return 1;
}

void CTwainSource::Unload() {
    if (!library_) return;
    CloseConnection();
    sane_.Clear();
    ModFree(library_);
    library_ = nullptr;
}

// Whatever is still open when the library goes away is closed in order.
void CTwainSource::CloseConnection() {
    if (sourceEnabled_) DisableSource(parent_);
    if (sourceOpen_) CloseSource();
    if (managerOpen_) CloseManager(nullptr);
}

int CTwainSource::Result(SANE_Status status) {
    switch (status) {
    case SANE_STATUS_GOOD: lastCondition_ = 0; return TWRC_SUCCESS;
    case SANE_STATUS_EOF: lastCondition_ = 0; return TWRC_XFERDONE;
    case SANE_STATUS_CANCELLED: lastCondition_ = status; return TWRC_CANCEL;
    default: lastCondition_ = status; return TWRC_FAILURE;
    }
}

int CTwainSource::OpenManager(QWidget*) {
    if (managerOpen_) return kManagerAlreadyOpen;
    SANE_Int version = 0;
    int result = Call([&] { return sane_.init(&version, nullptr); });
    if (result == TWRC_SUCCESS) managerOpen_ = 1;
    return result;
}

int CTwainSource::CloseManager(QWidget*) {
    if (!managerOpen_) return kManagerNotOpen;
    managerOpen_ = 0;
    return CallVoid([&] { sane_.exit(); });
}

int CTwainSource::FirstDevice(SourceIdentity* identity) {
    const SANE_Device** devices = nullptr;
    int result = Call([&] { return sane_.get_devices(&devices, SANE_FALSE); });
    if (result != TWRC_SUCCESS) return result;
    if (!devices || !devices[0]) return TWRC_FAILURE;
    const SANE_Device* d = devices[0];
    *identity = {d->name ? d->name : "", d->vendor ? d->vendor : "", d->model ? d->model : "",
                 d->type ? d->type : ""};
    return TWRC_SUCCESS;
}

int CTwainSource::UserSelect(QWidget* window) {
    if (!managerOpen_) return kManagerNotOpen;
    const SANE_Device** devices = nullptr;
    int result = Call([&] { return sane_.get_devices(&devices, SANE_FALSE); });
    if (result != TWRC_SUCCESS) return result;
    std::vector<SourceIdentity> listed;
    for (int i = 0; devices && devices[i]; ++i) {
        const SANE_Device* d = devices[i];
        listed.push_back({d->name ? d->name : "", d->vendor ? d->vendor : "",
                          d->model ? d->model : "", d->type ? d->type : ""});
    }
    CDeviceListDlg dialog(listed, identity_.name, window);
    if (dialog.DoModal() != framework::IDOK || dialog.Chosen() < 0) return TWRC_CANCEL;
    identity_ = listed[size_t(dialog.Chosen())];
    return TWRC_SUCCESS;
}

int CTwainSource::OpenSource() {
    if (!IsLoaded()) return kManagerNotBound;
    if (!managerOpen_) return kManagerNotOpen;
    if (sourceOpen_) return kSourceAlreadyOpen;
    if (identity_.name.empty()) {
        // No source chosen yet: the first one listed.
        int result = FirstDevice(&identity_);
        if (result != TWRC_SUCCESS) return result;
    }
    SANE_Handle device = nullptr;
    int result = Call([&] { return sane_.open(identity_.name.c_str(), &device); });
    if (result == TWRC_SUCCESS) {
        device_ = device;
        sourceOpen_ = 1;
    }
    return result;
}

int CTwainSource::CloseSource() {
    sourceOpen_ = 0;
    SANE_Handle device = std::exchange(device_, nullptr);
    if (!device) return TWRC_SUCCESS;
    return CallVoid([&] { sane_.close(device); });
}

int CTwainSource::EnableSource(QWidget* window) {
    if (sourceEnabled_) return kSourceAlreadyEnabled;
    if (!sourceOpen_) return TWRC_FAILURE;
    int count = 0;
    int result = OptionCount(&count);
    if (result != TWRC_SUCCESS) return result;
    dialog_ = std::make_unique<CSourceDialog>(*this, window);
    if (!dialog_->Create(nullptr, false)) {
        dialog_.reset();
        return TWRC_FAILURE;
    }
    // Owned, not parented: Qt disables the children of a disabled window.
    // The owner is known before the window is shown, so that the window
    // manager puts it in front of the main window every time.
    if (window) {
        dialog_->winId();
        if (QWindow* owner = window->window()->windowHandle())
            dialog_->windowHandle()->setTransientParent(owner);
    }
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
    parent_ = window;
    if (window) window->setEnabled(false);
    sourceEnabled_ = 1;
    return TWRC_SUCCESS;
}

int CTwainSource::DisableSource(QWidget* window) {
    if (!sourceEnabled_) return kSourceNotEnabled;
    sourceEnabled_ = 0;
    if (dialog_) {
        dialog_->DestroyWindow();
        // The dialog may be the one whose button led here: it goes later.
        dialog_.release()->deleteLater();
    }
    if (window) window->setEnabled(true);
    if (parent_ && parent_ != window) parent_->setEnabled(true);
    parent_ = nullptr;
    return TWRC_SUCCESS;
}

int CTwainSource::SelectSource(QWidget* window) {
    int result = OpenManager(window);
    if (result != TWRC_SUCCESS) return result;
    result = UserSelect(window);
    CloseManager(window);
    return result;
}

int CTwainSource::Acquire(QWidget* window, TransferCallback callback, intptr_t value1,
                          intptr_t value2) {
    callback_ = nullptr;
    int result = OpenManager(window);
    if (result != TWRC_SUCCESS) return result;
    result = OpenSource();
    if (result == TWRC_SUCCESS) {
        callback_ = callback;
        value1_ = value1;
        value2_ = value2;
        result = EnableSource(window);
    }
    if (!sourceEnabled_) {
        CloseSource();
        CloseManager(window);
    }
    return result;
}

bool CTwainSource::TakeBringToFront() { return std::exchange(bringToFront_, false); }

CSourceDialog* CTwainSource::SourceDialog() const { return sourceEnabled_ ? dialog_.get() : nullptr; }

WinHandle CTwainSource::MessageOwner() const {
    CSourceDialog* dialog = SourceDialog();
    return dialog ? dialog->WindowHandle() : nullptr;
}

int CTwainSource::ProcessEvent(QWidget* window, QEvent* event) {
    if (!sourceEnabled_ || !event || event->type() != TwainEvent::EventType()) return 0;
    int message = static_cast<TwainEvent*>(event)->Message();
    // A request that arrives while the image is being read waits for nothing:
    // the transfer ends the connection itself.
    if (transferring_) return 1;
    auto closeAll = [&] {
        DisableSource(window);
        CloseSource();
        CloseManager(window);
    };
    switch (message) {
    case MSG_XFERREADY:
        if (TransferNative() == TWRC_FAILURE)
            ShowMessageBox(MessageOwner(), "Transfer failure", "Kavolt", MB_BTN_OK | MB_ICON_WARNING);
        closeAll();
        break;
    case MSG_CLOSEDSREQ:
        bringToFront_ = true;
        if (device_) CallVoid([&] { sane_.cancel(device_); });
        closeAll();
        break;
    case MSG_CLOSEDSOK:
        closeAll();
        break;
    default:
        break;
    }
    return 1;
}

}  // namespace twain
