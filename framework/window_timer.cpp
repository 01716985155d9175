#include "framework/window_timer.h"

#include <QObject>
#include <QTimerEvent>

namespace framework {

// Receives the Qt timer events and maps Qt's timer ids to the window's ids.
class TimerOwner::Relay : public QObject {
public:
    explicit Relay(TimerOwner& owner) : owner_(owner) {}

    void set(int id, int intervalMs) {
        kill(id);
        int qtId = startTimer(intervalMs < 1 ? 1 : intervalMs, Qt::PreciseTimer);
        if (qtId != 0) byWindowId_[id] = qtId;
    }
    bool kill(int id) {
        auto it = byWindowId_.find(id);
        if (it == byWindowId_.end()) return false;
        killTimer(it->second);
        byWindowId_.erase(it);
        return true;
    }
    void killAll() {
        for (auto& [id, qtId] : byWindowId_) killTimer(qtId);
        byWindowId_.clear();
    }
    bool has(int id) const { return byWindowId_.count(id) != 0; }

protected:
    void timerEvent(QTimerEvent* event) override {
        for (auto& [id, qtId] : byWindowId_) {
            if (qtId == event->timerId()) {
                int windowId = id;  // the map may change inside OnTimer
                owner_.OnTimer(windowId);
                return;
            }
        }
    }

private:
    TimerOwner& owner_;
    std::map<int, int> byWindowId_;
};

TimerOwner::TimerOwner() : relay_(std::make_unique<Relay>(*this)) {}

TimerOwner::~TimerOwner() = default;

bool TimerOwner::SetTimer(int id, int intervalMs) {
    relay_->set(id, intervalMs);
    return true;
}

bool TimerOwner::KillTimer(int id) { return relay_->kill(id); }

void TimerOwner::KillAllTimers() { relay_->killAll(); }

bool TimerOwner::HasTimer(int id) const { return relay_->has(id); }

void TimerOwner::OnTimer(int) {}

}  // namespace framework
