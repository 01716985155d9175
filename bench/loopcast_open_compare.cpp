// Opening a GIF through Loopcast.FLT, the way the editor opens a file, against
// giflib reading the whole file (DGifSlurp): CPU and wall time, and the peak
// memory each needs above what the process held before, beside the bytes of
// the layers Loopcast makes. Each run is a child process of its own (so that
// its peak is its own); best of five.
//
//   loopcast_open_compare <file.gif>
//
// Loopcast.FLT is taken from beside the program. Prints a Markdown table.
#include <dlfcn.h>
#include <gif_lib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "bench_timing.h"
#include "platform/memory.h"
#include "plugin_api/plugin_api.h"

namespace {

struct Result {
    double cpu = 1e9, wall = 1e9;  // seconds
    double peakMiB = 1e9;          // above the resident memory before the open
    double layersMiB = 0;
    bool ok = false;
};

// A line of /proc/self/status in KiB ("VmRSS", "VmHWM").
double StatusKiB(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::atof(line.c_str() + std::strlen(key) + 1);
    return 0;
}

using ImportFn = uint16_t (*)(WinHandle, PluginPathBuffer*, PluginImage*, const char*);
using GetLayerFn = MemHandle (*)(int32_t*);

// One open in this process; false when it fails.
bool OpenOnce(const std::string& mode, const char* gif, const std::string& plugin, Result* r) {
    ImportFn import = nullptr;
    GetLayerFn getLayer = nullptr;
    if (mode == "loopcast") {
        void* lib = dlopen(plugin.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!lib) return false;
        import = reinterpret_cast<ImportFn>(dlsym(lib, "ImportGR"));
        getLayer = reinterpret_cast<GetLayerFn>(dlsym(lib, "GetLayer"));
        if (!import || !getLayer) return false;
    }
    {
        std::ofstream reset("/proc/self/clear_refs");
        reset << "5";  // the peak starts again from here
    }
    const double before = StatusKiB("VmRSS:");
    benchtiming::Times t = benchtiming::Measure([&] {
        if (mode == "giflib") {
            int error = 0;
            GifFileType* file = DGifOpenFileName(gif, &error);
            if (!file || DGifSlurp(file) != GIF_OK) return false;
            r->layersMiB = 0;
            return DGifCloseFile(file, &error) == GIF_OK;
        }
        PluginPathBuffer path;
        PluginImage image{};
        PluginPathBufferSet(&path, gif);
        return import(nullptr, &path, &image, nullptr) == PLUGIN_RESULT_OK;
    });
    r->peakMiB = (StatusKiB("VmHWM:") - before) / 1024;
    r->cpu = t.cpu;
    r->wall = t.wall;
    if (getLayer)
        for (int32_t i = 0; i < 100; ++i)
            if (MemHandle layer = getLayer(&i)) r->layersMiB += double(MemSize(layer)) / (1 << 20);
    return t.wall >= 0;
}

// The best of `runs` runs of one mode, each in a child process.
Result Best(const std::string& mode, const char* gif, const std::string& plugin, int runs) {
    Result best;
    for (int i = 0; i < runs; ++i) {
        int fds[2];
        if (pipe(fds) != 0) return best;
        pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            int argc = 1;
            char name[] = "loopcast_open_compare";
            char* argv[] = {name, nullptr};
            QGuiApplication app(argc, argv);  // the plug-in's wait cursor
            Result r;
            r.ok = OpenOnce(mode, gif, plugin, &r);
            (void)!write(fds[1], &r, sizeof r);
            _exit(0);
        }
        close(fds[1]);
        Result r;
        bool got = read(fds[0], &r, sizeof r) == ssize_t(sizeof r);
        close(fds[0]);
        waitpid(pid, nullptr, 0);
        if (!got || !r.ok) return Result{};
        best.ok = true;
        best.cpu = std::min(best.cpu, r.cpu);
        best.wall = std::min(best.wall, r.wall);
        best.peakMiB = std::min(best.peakMiB, r.peakMiB);
        best.layersMiB = r.layersMiB;
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: loopcast_open_compare <file.gif>\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char runtime[] = "/tmp/loopcast-open-XXXXXX";
    if (!std::getenv("XDG_RUNTIME_DIR") && mkdtemp(runtime)) setenv("XDG_RUNTIME_DIR", runtime, 1);
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return 1;
    std::string plugin = std::string(self);
    plugin = plugin.substr(0, plugin.rfind('/')) + "/Loopcast.FLT";

    const Result ours = Best("loopcast", argv[1], plugin, 5);
    const Result peer = Best("giflib", argv[1], plugin, 5);
    if (!ours.ok || !peer.ok) {
        std::fprintf(stderr, "%s could not be opened (%s)\n", argv[1], ours.ok ? "giflib" : "Loopcast.FLT");
        return 1;
    }
    std::printf("| open of %s | CPU s | wall s | peak MiB | peak / layers |\n|---|---|---|---|---|\n", argv[1]);
    std::printf("| Loopcast.FLT | %.3f | %.3f | %.1f | %.2f |\n", ours.cpu, ours.wall, ours.peakMiB,
                ours.peakMiB / ours.layersMiB);
    std::printf("| giflib DGifSlurp | %.3f | %.3f | %.1f | |\n", peer.cpu, peer.wall, peer.peakMiB);
    std::printf("| ratio | %.2f | %.2f | %.2f | layers %.1f MiB |\n", ours.cpu / peer.cpu, ours.wall / peer.wall,
                ours.peakMiB / peer.peakMiB, ours.layersMiB);
    if (std::strcmp(runtime, "/tmp/loopcast-open-XXXXXX") != 0) rmdir(runtime);
    return 0;
}
