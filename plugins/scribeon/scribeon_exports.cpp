// Scribeon.so: the text tool. ImportFL runs the modeless text dialog in a
// loop of its own until the dialog is done or the application quits.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "plugin_api/plugin_api.h"
#include "plugins/kit/kit.h"
#include "plugins/scribeon/text_input_dlg.h"

extern "C" {

KV_PLUGIN_EXPORT const char* GetInfo(void) { return "文字输入/*.BMP;*.DIB"; }

KV_PLUGIN_EXPORT int32_t ImportFL(WinHandle mainWindow, PluginToolRecord* record, PluginToolInfo* info,
                                  const char*) {
    auto* dialog = new CTextInputDlg(mainWindow, info, record);
    dialog->Create(nullptr, true);
    if (!dialog->Done()) {
        if (record) {
            record->window = dialog->WindowHandle();
            record->modeless = 1;
        }
        dialog->setEnabled(true);
        QEventLoop loop;
        QTimer poll;  // the done flag ends the loop
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (dialog->Done()) loop.quit();
        });
        poll.start(5);
        QMetaObject::Connection quit =
            QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
        // A test's driver works the dialog from inside the loop.
        if (framework::Dialog::ModalDriver driver = framework::Dialog::CurrentModalDriver()) {
            QTimer::singleShot(0, dialog, [dialog, driver] {
                driver(*dialog);
                if (!dialog->Done()) dialog->ClickButton(framework::IDCANCEL);
            });
        }
        if (!dialog->Done()) loop.exec();
        QObject::disconnect(quit);
        if (!dialog->Done()) dialog->ClickButton(framework::IDCANCEL);
    }
    delete dialog;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (record) {
        record->window = nullptr;
        record->modeless = 0;
    }
    return 0;
}

}  // extern "C"
