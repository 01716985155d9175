// Window timers by id: SetTimer(id, ms) makes OnTimer(id) run every `ms`
// milliseconds from the event loop until KillTimer(id); setting an id again
// restarts it with the new interval. Timers end with the window.
#pragma once

#include <map>
#include <memory>

namespace framework {

class TimerOwner {
public:
    TimerOwner(const TimerOwner&) = delete;
    TimerOwner& operator=(const TimerOwner&) = delete;

    // Intervals below 1 ms run every millisecond. Always true.
    bool SetTimer(int id, int intervalMs);
    // False when no timer with that id runs.
    bool KillTimer(int id);
    void KillAllTimers();
    bool HasTimer(int id) const;

protected:
    TimerOwner();
    virtual ~TimerOwner();

    virtual void OnTimer(int id);

private:
    class Relay;
    std::unique_ptr<Relay> relay_;
};

}  // namespace framework
