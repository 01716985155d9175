// Scanning through the real scanner library with its "test" backend.
//
// SaneTestBackend gives the library a private configuration holding that
// backend alone (devices test:0 and test:1); ScanImage runs the library's own
// front end, scanimage, with the same options as the yardstick; SaneRecorder
// logs the library calls of a connection and can fail one of them.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <QStringList>

#include "platform/memory.h"
#include "twain/sane_functions.h"

namespace kvtest {

// The library reads its configuration folder once per process: one folder
// serves the whole test run (SANE_CONFIG_DIR stays set).
class SaneTestBackend {
public:
    SaneTestBackend();
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// A picture as rows of colours, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
    bool operator==(const Picture&) const = default;
};

// scanimage's PNM output (16-bit samples by their high byte) for device
// test:0 with these options; an empty picture when it failed. scanimage
// writes the lines as the device sends them: with pixels lost at the end of
// each line (`lostPixels`) its rows are that much longer than its header
// says.
Picture ScanImage(const QStringList& options, int lostPixels = 0);
// A DIB's pixels through its colour table; empty when the block is refused.
Picture DibPicture(MemHandle dib);
// The picture's top-left width x height part.
Picture Crop(const Picture& picture, int width, int height);

// Logs each call ("sane_start", ...; a read that ends the frame as "EOF";
// reads in a row once; from any thread) and fails the call named `failName` with
// `failStatus` (the next `failCount` times).
class SaneRecorder {
public:
    void Wrap(twain::SaneFunctions& functions);
    std::vector<std::string> calls;
    std::string failName;
    SANE_Status failStatus = SANE_STATUS_IO_ERROR;
    int failCount = 1;
    // A pause before each read: a slow device.
    int readPauseMs = 0;

private:
    void log(const std::string& name);
    std::mutex mutex_;
    bool fails(const std::string& name);
};

std::string Joined(const std::vector<std::string>& calls);

}  // namespace kvtest
