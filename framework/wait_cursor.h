// The wait cursor for the length of a piece of work the user waits for (a
// file read or written, a plug-in run, a filter computed); on only in a
// program with a window system.
#pragma once

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace framework {

class WaitCursor {
public:
    WaitCursor() {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            on_ = true;
        }
    }
    ~WaitCursor() { end(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    // The cursor back before the object ends (before a message, say).
    void end() {
        if (on_) QGuiApplication::restoreOverrideCursor();
        on_ = false;
    }

private:
    bool on_ = false;
};

}  // namespace framework
