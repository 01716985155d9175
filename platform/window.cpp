#include "platform/window.h"
#include "platform/window_qt.h"

#include <QPointer>
#include <QWidget>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/handle_table.h"

namespace {

struct Slot {
    WinReceiver receiver = nullptr;
    void* context = nullptr;
    std::shared_ptr<void> owned;  // keeps a C++ receiver alive while it runs
    QPointer<QWidget> widget;
    uint32_t generation = 0;
    bool live = false;
};

struct Table : platform::detail::HandleTable<Slot, 0x57u> {
    Slot* find(WinHandle h) { return Find(reinterpret_cast<uintptr_t>(h)); }
    WinHandle add(WinReceiver receiver, void* context, std::shared_ptr<void> owned) {
        std::lock_guard lock(mutex);
        uintptr_t handle = 0;
        Slot& s = Add(handle);
        s.receiver = receiver;
        s.context = context;
        s.owned = std::move(owned);
        return reinterpret_cast<WinHandle>(handle);
    }
};

Table& table() {
    static Table* t = new Table;  // never destroyed: windows may go away during exit
    return *t;
}

WinResult callFunction(void* context, WinHandle window, uint32_t message, WinWParam wparam,
                       WinLParam lparam) {
    auto& f = *static_cast<platform::WinFunction*>(context);
    return f ? f(window, message, wparam, lparam) : 0;
}

}  // namespace

extern "C" {

WinHandle WinCreate(WinReceiver receiver, void* context) {
    return table().add(receiver, context, nullptr);
}

void WinDestroy(WinHandle window) {
    std::shared_ptr<void> owned;  // released after the lock, outside the table
    {
        Table& t = table();
        std::lock_guard lock(t.mutex);
        Slot* s = t.find(window);
        if (!s) return;
        owned = std::move(s->owned);
        s->receiver = nullptr;
        s->context = nullptr;
        s->widget.clear();
        t.Remove(s);
    }
}

bool WinIsWindow(WinHandle window) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.find(window) != nullptr;
}

WinResult WinSendMessage(WinHandle window, uint32_t message, WinWParam wparam, WinLParam lparam) {
    WinReceiver receiver = nullptr;
    void* context = nullptr;
    std::shared_ptr<void> owned;
    {
        Table& t = table();
        std::lock_guard lock(t.mutex);
        Slot* s = t.find(window);
        if (!s) return 0;
        receiver = s->receiver;
        context = s->context;
        owned = s->owned;
    }
    // The receiver runs without the lock, so it may send, create and destroy.
    return receiver ? receiver(context, window, message, wparam, lparam) : 0;
}

bool WinEnable(WinHandle window, bool enable) {
    QWidget* w = platform::WinWidget(window);
    if (!w) return false;
    w->setEnabled(enable);
    return true;
}

bool WinIsEnabled(WinHandle window) {
    QPointer<QWidget> widget;
    {
        Table& t = table();
        std::lock_guard lock(t.mutex);
        Slot* s = t.find(window);
        if (!s) return false;
        widget = s->widget;
    }
    return !widget || widget->isEnabled();
}

}  // extern "C"

namespace platform {

WinHandle WinCreateFunction(WinFunction receiver) {
    auto holder = std::make_shared<WinFunction>(std::move(receiver));
    void* context = holder.get();
    return table().add(&callFunction, context, std::move(holder));
}

bool WinSetWidget(WinHandle window, QWidget* widget) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    Slot* s = t.find(window);
    if (!s) return false;
    s->widget = widget;
    return true;
}

QWidget* WinWidget(WinHandle window) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    Slot* s = t.find(window);
    return s ? s->widget.data() : nullptr;
}

WinHandle WinFromWidget(const QWidget* widget) {
    if (!widget) return nullptr;
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return reinterpret_cast<WinHandle>(
        t.FindIf([widget](const Slot& s) { return s.widget.data() == widget; }));
}

}  // namespace platform
