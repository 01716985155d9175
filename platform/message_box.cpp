#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include <cstdio>
#include <mutex>

#include "platform/text_codec.h"
#include "platform/window_qt.h"

namespace {

QMessageBox::StandardButtons buttonsFor(unsigned type) {
    switch (type & MB_BTN_MASK) {
    case MB_BTN_OKCANCEL: return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_BTN_YESNOCANCEL: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_BTN_YESNO: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok;
    }
}

QMessageBox::StandardButton firstButtonFor(unsigned type) {
    switch (type & MB_BTN_MASK) {
    case MB_BTN_YESNOCANCEL:
    case MB_BTN_YESNO: return QMessageBox::Yes;
    default: return QMessageBox::Ok;
    }
}

QMessageBox::Icon iconFor(unsigned type) {
    switch (type & MB_ICON_MASK) {
    case MB_ICON_ERROR: return QMessageBox::Critical;
    case MB_ICON_QUESTION: return QMessageBox::Question;
    case MB_ICON_WARNING: return QMessageBox::Warning;
    case MB_ICON_INFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// The answer of a box nobody can see: OK for a plain box, otherwise the
// answer that changes nothing (Cancel, or No when there is no Cancel).
int unattendedAnswer(unsigned type) {
    switch (type & MB_BTN_MASK) {
    case MB_BTN_OKCANCEL:
    case MB_BTN_YESNOCANCEL: return MB_ANSWER_CANCEL;
    case MB_BTN_YESNO: return MB_ANSWER_NO;
    default: return MB_ANSWER_OK;
    }
}

int answerFor(QMessageBox::StandardButton button, unsigned type) {
    switch (button) {
    case QMessageBox::Ok: return MB_ANSWER_OK;
    case QMessageBox::Cancel: return MB_ANSWER_CANCEL;
    case QMessageBox::Yes: return MB_ANSWER_YES;
    case QMessageBox::No: return MB_ANSWER_NO;
    default: return unattendedAnswer(type);
    }
}

int showQtMessageBox(const platform::MessageBoxRequest& request) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        if (request.caption.empty())
            std::fprintf(stderr, "%s\n", request.text.c_str());
        else
            std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
        return unattendedAnswer(request.type);
    }
    QMessageBox box(iconFor(request.type), QString::fromStdString(request.caption),
                    QString::fromStdString(request.text), buttonsFor(request.type),
                    platform::WinWidget(request.owner));
    box.setDefaultButton(firstButtonFor(request.type));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return answerFor(clicked ? box.standardButton(clicked) : QMessageBox::NoButton, request.type);
}

struct Service {
    std::mutex mutex;
    platform::MessageBoxService current;
};

Service& service() {
    static Service* s = new Service;  // never destroyed: boxes may be asked for during exit
    return *s;
}

}  // namespace

extern "C" int ShowMessageBox(WinHandle owner, const char* text, const char* caption, unsigned type) {
    platform::MessageBoxRequest request;
    request.owner = owner;
    request.text = platform::DecodeFileText(std::string_view(text ? text : ""));
    request.caption = platform::DecodeFileText(std::string_view(caption ? caption : ""));
    request.type = type;
    platform::MessageBoxService current;
    {
        Service& s = service();
        std::lock_guard lock(s.mutex);
        current = s.current;
    }
    // Called without the lock: a service may itself ask for a message box.
    return current ? current(request) : showQtMessageBox(request);
}

namespace platform {

MessageBoxService SetMessageBoxService(MessageBoxService next) {
    Service& s = service();
    std::lock_guard lock(s.mutex);
    MessageBoxService previous = std::move(s.current);
    s.current = std::move(next);
    return previous;
}

}  // namespace platform
