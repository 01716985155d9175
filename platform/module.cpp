#include "platform/module.h"

#include <QCoreApplication>
#include <QEvent>

#include <dlfcn.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/handle_table.h"
#include "platform/paths.h"

namespace {

struct Slot {
    void* library = nullptr;
    uint32_t generation = 0;
    bool live = false;
};

struct Table : platform::detail::HandleTable<Slot, 0x4du> {
    Slot* find(ModHandle h) { return Find(reinterpret_cast<uintptr_t>(h)); }
};

Table& table() {
    static Table* t = new Table;  // never destroyed: modules may be freed during exit
    return *t;
}

thread_local std::string lastError;

}  // namespace

namespace {

ModHandle OpenLibrary(const std::string& full) {
    void* library = dlopen(full.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* e = dlerror();
        lastError = e ? e : "cannot load " + full;
        return nullptr;
    }
    lastError.clear();
    Table& t = table();
    std::lock_guard lock(t.mutex);
    uintptr_t handle = 0;
    t.Add(handle).library = library;
    return reinterpret_cast<ModHandle>(handle);
}

}  // namespace

extern "C" {

ModHandle ModLoad(const char* path) {
    if (!path || !*path) {
        lastError = "no path";
        return nullptr;
    }
    std::string full = path;
    if (full.find('/') == std::string::npos) full = platform::ProgramDirectory() + full;
    return OpenLibrary(full);
}

ModHandle ModLoadSystem(const char* name) {
    if (!name || !*name) {
        lastError = "no path";
        return nullptr;
    }
    return OpenLibrary(name);
}

void* ModSymbol(ModHandle module, const char* name) {
    if (!name) return nullptr;
    Table& t = table();
    std::lock_guard lock(t.mutex);
    Slot* s = t.find(module);
    return s ? dlsym(s->library, name) : nullptr;
}

bool ModFree(ModHandle module) {
    void* library = nullptr;
    {
        Table& t = table();
        std::lock_guard lock(t.mutex);
        Slot* s = t.find(module);
        if (!s) return false;
        library = s->library;
        s->library = nullptr;
        t.Remove(s);
    }
    // A deleteLater() from the plug-in would otherwise run plug-in code after
    // the library is gone.
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    dlclose(library);
    return true;
}

bool ModIsLoaded(ModHandle module) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.find(module) != nullptr;
}

const char* ModLastError(void) { return lastError.c_str(); }

}  // extern "C"
