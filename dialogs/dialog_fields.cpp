#include "dialogs/dialog_fields.h"

#include <QLineEdit>
#include <QValidator>

#include "framework/application.h"
#include "framework/dialog.h"
#include "platform/message_box.h"

namespace {

class Utf8LimitValidator final : public QValidator {
public:
    Utf8LimitValidator(int maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) {}
    State validate(QString& input, int&) const override {
        return input.toUtf8().size() <= maxBytes_ ? Acceptable : Invalid;
    }

private:
    int maxBytes_;
};

}  // namespace

void LimitUtf8Bytes(QLineEdit* edit, int maxBytes) {
    if (edit) edit->setValidator(new Utf8LimitValidator(maxBytes, edit));
}

int ShowDialogMessage(framework::Dialog& dialog, const QString& text, unsigned type) {
    framework::Application* app = framework::Application::Instance();
    const QByteArray caption = app ? app->AppName().toUtf8() : QByteArrayLiteral("Kavolt");
    return ShowMessageBox(dialog.WindowHandle(), text.toUtf8().constData(), caption.constData(), type);
}
