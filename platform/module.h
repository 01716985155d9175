// Plug-in libraries: loading by path, looking up exports by name, unloading.
//
// A module handle is an opaque number checked against a table: a freed or
// unknown handle is refused and never reaches the dynamic loader. Each
// ModLoad gets a handle of its own, to be freed once with ModFree.
#pragma once

#include <utility>

extern "C" {

typedef struct KvModule* ModHandle;

// Loads the library at `path` with every symbol bound at once and none made
// visible to other libraries. A name without '/' is looked for in the program
// directory. Null when the file is missing or is not a loadable library
// (ModLastError tells why).
ModHandle ModLoad(const char* path);
// Loads a system library by its name through the dynamic loader's own search
// (the library path, the loader's cache), as the system's own libraries are
// found; a name with '/' is loaded as it stands. Null as for ModLoad.
ModHandle ModLoadSystem(const char* name);
// The export named `name`, or null (unknown export, dead handle).
void* ModSymbol(ModHandle module, const char* name);
// Unloads the library. Objects whose deletion is still pending in the Qt event
// queue are deleted first, while their code is still there. Returns false for
// a dead or unknown handle.
bool ModFree(ModHandle module);
bool ModIsLoaded(ModHandle module);
// Why the last ModLoad on this thread failed ("" after a success).
const char* ModLastError(void);

}  // extern "C"

#ifdef __cplusplus
#include <string>

namespace platform {

// A loaded module for the length of a scope.
class Module {
public:
    Module() = default;
    explicit Module(const std::string& path) : h_(ModLoad(path.c_str())) {}
    ~Module() { reset(); }
    Module(Module&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    Module& operator=(Module&& o) noexcept {
        if (this != &o) { reset(); h_ = std::exchange(o.h_, nullptr); }
        return *this;
    }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    explicit operator bool() const { return h_ != nullptr; }
    ModHandle handle() const { return h_; }
    // The export as a function pointer type, e.g. symbol<int (*)(int)>("GetInfo").
    template <class F> F symbol(const char* name) const {
        return reinterpret_cast<F>(ModSymbol(h_, name));
    }
    void reset() { if (h_) { ModFree(h_); h_ = nullptr; } }

private:
    ModHandle h_ = nullptr;
};

}  // namespace platform
#endif
