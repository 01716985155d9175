// gradate.GLT: the gradation filter ("渐变色" in the filter menu). Its dialog
// is modeless, so that colours can be picked in the host's colour bar while
// it is open; ImportFL runs the dialog's loop until the dialog is done.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>

#include "platform/window_qt.h"
#include "plugin_api/plugin_api.h"
#include "plugins/gradate/gradate_dialog.h"
#include "plugins/kit/kit.h"

extern "C" {

KV_PLUGIN_EXPORT const char* GetInfo(void) { return "渐变色        /*.BMP;*.DIB"; }

KV_PLUGIN_EXPORT int32_t ImportFL(WinHandle mainWindow, PluginToolRecord* record, PluginToolInfo* info,
                                  const char*) {
    bool done = false;  // outlives the dialog
    auto* dialog = new CGradateDialog(mainWindow, record, info, &done);
    dialog->Create(nullptr, false);
    if (!done) {
        // Owned by the host window but not its child: locking the host for
        // the filter leaves the dialog working.
        QWidget* owner = platform::WinWidget(mainWindow);
        if (owner && owner->window()->windowHandle()) {
            dialog->winId();
            if (QWindow* window = dialog->windowHandle())
                window->setTransientParent(owner->window()->windowHandle());
        }
        dialog->show();
        dialog->setEnabled(true);
        if (record) {
            record->modeless = 1;
            record->window = dialog->WindowHandle();
        }
        QEventLoop loop;
        dialog->onDone = [&loop] { loop.quit(); };
        QMetaObject::Connection quit =
            QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
        // A test's driver works the dialog from inside the loop.
        if (framework::Dialog::ModalDriver driver = framework::Dialog::CurrentModalDriver()) {
            QTimer::singleShot(0, dialog, [dialog, driver, &done] {
                driver(*dialog);
                if (!done) dialog->ClickButton(framework::IDCANCEL);
            });
        }
        if (!done) loop.exec();
        QObject::disconnect(quit);
        dialog->onDone = nullptr;
        if (!done) dialog->ClickButton(framework::IDCANCEL);
    }
    delete dialog;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (record) record->window = nullptr;
    return 0;
}

}  // extern "C"
