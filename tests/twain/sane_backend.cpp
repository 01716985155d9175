#include "sane_backend.h"

#include <dlfcn.h>
#include <link.h>

#include <chrono>
#include <thread>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "imaging/dib_access.h"
#include "imaging/dib_geometry.h"

namespace kvtest {

namespace {

// The scanner library frees nothing of what sane_init reads and the test
// backend leaves the buffer of a cancelled reader behind. Both stay loaded
// for the whole run, so that the leak checker of a sanitized build can name
// them (tests/twain/lsan.supp passes over their own leaks).
void KeepScannerLibrariesLoaded() {
    void* sane = dlopen("libsane.so.1", RTLD_NOW | RTLD_NODELETE);
    link_map* map = nullptr;
    if (!sane || dlinfo(sane, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name) return;
    std::string path = map->l_name;
    path = path.substr(0, path.rfind('/')) + "/sane/libsane-test.so.1";
    dlopen(path.c_str(), RTLD_NOW | RTLD_NODELETE);
}

bool MakeConfiguration() {
    KeepScannerLibrariesLoaded();
    static QTemporaryDir dir;  // for the whole run
    if (!dir.isValid()) return false;
    QFile dll(dir.filePath(QStringLiteral("dll.conf")));
    if (!dll.open(QIODevice::WriteOnly)) return false;
    dll.write("test\n");
    dll.close();
    // The backend's own settings as installed (two devices).
    if (!QFile::copy(QStringLiteral("/etc/sane.d/test.conf"), dir.filePath(QStringLiteral("test.conf"))))
        return false;
    qputenv("SANE_CONFIG_DIR", QFile::encodeName(dir.path()));
    return true;
}

}  // namespace

SaneTestBackend::SaneTestBackend() {
    static const bool made = MakeConfiguration();
    ok_ = made;
}

namespace {

// One whitespace-separated header number of a PNM file.
bool HeaderNumber(const QByteArray& data, int& at, int* out) {
    for (;;) {
        while (at < data.size() && isspace(uchar(data[at]))) ++at;
        if (at < data.size() && data[at] == '#') {
            while (at < data.size() && data[at] != '\n') ++at;
            continue;
        }
        break;
    }
    int start = at;
    while (at < data.size() && isdigit(uchar(data[at]))) ++at;
    if (at == start) return false;
    *out = data.mid(start, at - start).toInt();
    return true;
}

}  // namespace

namespace {

// scanimage's output; empty when it failed. A scan of these tiny pictures
// takes milliseconds: one that has not ended after a few seconds is stuck
// (the test backend's reader now and then hangs when the machine is busy)
// and is tried again.
QByteArray RunScanimage(const QStringList& options) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        QProcess process;
        process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        process.start(QStringLiteral("scanimage"),
                      QStringList{QStringLiteral("-d"), QStringLiteral("test:0"), QStringLiteral("--format=pnm")} +
                          options);
        if (process.waitForFinished(10000)) {
            if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) return {};
            return process.readAllStandardOutput();
        }
        process.kill();
        process.waitForFinished(5000);
    }
    return {};
}

}  // namespace

Picture ScanImage(const QStringList& options, int lostPixels) {
    QByteArray data = RunScanimage(options);
    if (data.size() < 3 || data[0] != 'P') return {};
    char kind = data[1];
    int at = 2, width = 0, height = 0, maxval = 1;
    if (!HeaderNumber(data, at, &width) || !HeaderNumber(data, at, &height)) return {};
    if (kind != '4' && !HeaderNumber(data, at, &maxval)) return {};
    ++at;  // the one blank before the samples
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.constData()) + at;
    size_t available = size_t(data.size() - at);
    int sampleBytes = maxval > 255 ? 2 : 1;
    int channels = kind == '6' ? 3 : 1;
    size_t row = kind == '4' ? size_t(width + lostPixels + 7) / 8
                            : size_t(width + lostPixels) * channels * sampleBytes;
    if (row * size_t(height) > available) return {};
    Picture p{width, height, {}};
    for (int y = 0; y < height; ++y) {
        const uint8_t* r = bytes + row * size_t(y);
        for (int x = 0; x < width; ++x) {
            if (kind == '4') {
                uint8_t v = ((r[x >> 3] >> (7 - (x & 7))) & 1) ? 0 : 255;
                p.pixels.push_back({v, v, v});
            } else {
                // Big-endian samples: the high byte comes first.
                const uint8_t* s = r + size_t(x) * channels * sampleBytes;
                if (channels == 1) p.pixels.push_back({s[0], s[0], s[0]});
                else p.pixels.push_back({s[0], s[sampleBytes], s[2 * sampleBytes]});
            }
        }
    }
    return p;
}

Picture DibPicture(MemHandle dib) {
    dib::LockedDib d(dib);
    if (!d) return {};
    const dib::DibGeometry& g = d.geo();
    size_t rowBytes = g.DisplayRow();
    if (!g.HoldsRows(rowBytes)) return {};
    PaletteEntry table[256];
    dib::ReadColorTable(d.data(), g, table);
    Picture p{g.width, g.height, {}};
    std::vector<uint8_t> bgr(size_t(g.width) * 3);
    for (int y = 0; y < g.height; ++y) {
        dib::ReadRowBgr(d.Row(g.height - 1 - y, rowBytes), g.bitCount, 0, g.width, table, bgr.data());
        for (int x = 0; x < g.width; ++x) p.pixels.push_back({bgr[x * 3 + 2], bgr[x * 3 + 1], bgr[x * 3]});
    }
    return p;
}

Picture Crop(const Picture& picture, int width, int height) {
    Picture p{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) p.pixels.push_back(picture.pixels[size_t(y) * picture.width + x]);
    return p;
}

void SaneRecorder::log(const std::string& name) {
    std::lock_guard lock(mutex_);
    if (name == "sane_read" && !calls.empty() && calls.back() == name) return;
    calls.push_back(name);
}

bool SaneRecorder::fails(const std::string& name) {
    std::lock_guard lock(mutex_);
    if (name != failName || failCount <= 0) return false;
    --failCount;
    return true;
}

void SaneRecorder::Wrap(twain::SaneFunctions& f) {
    auto init = f.init;
    f.init = [this, init](SANE_Int* version, SANE_Auth_Callback auth) {
        log("sane_init");
        return fails("sane_init") ? failStatus : init(version, auth);
    };
    auto exit = f.exit;
    f.exit = [this, exit] {
        log("sane_exit");
        exit();
    };
    auto devices = f.get_devices;
    f.get_devices = [this, devices](const SANE_Device*** list, SANE_Bool local) {
        log("sane_get_devices");
        return fails("sane_get_devices") ? failStatus : devices(list, local);
    };
    auto open = f.open;
    f.open = [this, open](SANE_String_Const name, SANE_Handle* handle) {
        log(std::string("sane_open ") + name);
        return fails("sane_open") ? failStatus : open(name, handle);
    };
    auto close = f.close;
    f.close = [this, close](SANE_Handle h) {
        log("sane_close");
        close(h);
    };
    // Option calls are many and not logged; they can still fail.
    auto control = f.control_option;
    f.control_option = [this, control](SANE_Handle h, SANE_Int option, SANE_Action action, void* value,
                                       SANE_Int* info) {
        return fails("sane_control_option") ? failStatus : control(h, option, action, value, info);
    };
    auto parameters = f.get_parameters;
    f.get_parameters = [this, parameters](SANE_Handle h, SANE_Parameters* p) {
        log("sane_get_parameters");
        return fails("sane_get_parameters") ? failStatus : parameters(h, p);
    };
    auto start = f.start;
    f.start = [this, start](SANE_Handle h) {
        log("sane_start");
        return fails("sane_start") ? failStatus : start(h);
    };
    auto read = f.read;
    f.read = [this, read](SANE_Handle h, SANE_Byte* data, SANE_Int max, SANE_Int* length) {
        if (readPauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(readPauseMs));
        SANE_Status status = fails("sane_read") ? failStatus : read(h, data, max, length);
        log(status == SANE_STATUS_EOF ? "EOF" : "sane_read");
        return status;
    };
    auto cancel = f.cancel;
    f.cancel = [this, cancel](SANE_Handle h) {
        log("sane_cancel");
        cancel(h);
    };
}

std::string Joined(const std::vector<std::string>& calls) {
    std::string text;
    for (const std::string& c : calls) text += (text.empty() ? "" : ", ") + c;
    return text;
}

}  // namespace kvtest
