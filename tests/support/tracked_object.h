// An object of a test plug-in's own class that counts its deletion: left
// waiting with deleteLater(), it shows whether the deletion ran before the
// plug-in was unloaded.
#pragma once

#include <QObject>

namespace kvtest {

class TrackedObject : public QObject {
public:
    explicit TrackedObject(int* deleted) : deleted_(deleted) {}
    ~TrackedObject() override { ++*deleted_; }

private:
    int* deleted_;
};

}  // namespace kvtest
