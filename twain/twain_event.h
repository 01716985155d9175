// The event the source's window posts to its parent window (MSG_XFERREADY,
// MSG_CLOSEDSREQ); the parent's event filter hands it to ProcessEvent.
#pragma once

#include <QEvent>

namespace twain {

class TwainEvent : public QEvent {
public:
    explicit TwainEvent(int message) : QEvent(EventType()), message_(message) {}
    int Message() const { return message_; }
    static QEvent::Type EventType() {
        static const auto type = QEvent::Type(QEvent::registerEventType());
        return type;
    }

private:
    int message_;
};

}  // namespace twain
