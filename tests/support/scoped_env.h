// Sets an environment variable for the length of a scope and puts the old
// value (or its absence) back.
#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace kvtest {

class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), previous_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() {
        if (wasSet_) qputenv(name_, previous_);
        else qunsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool wasSet_;
    QByteArray previous_;
};

}  // namespace kvtest
