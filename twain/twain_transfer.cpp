// The native transfer: the scan is read on a worker thread while the user
// interface goes on (the source's window shows the lines read), then turned
// into a DIB for the transfer callback.
#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>

#include <thread>

#include "document/image_limits.h"
#include "platform/message_box.h"
#include "twain/scan_dib.h"
#include "twain/source_dialog.h"
#include "twain/twain_source.h"

namespace twain {

namespace {

constexpr SANE_Int kReadBlock = 64 * 1024;

// What the reading thread found.
struct ReadOutcome {
    int result = TWRC_SUCCESS;
    bool tooLarge = false;
    std::vector<ScanFrame> frames;
};

}  // namespace

int CTwainSource::TransferNative() {
    if (!callback_) return kNoTransferCallback;
    if (!device_) return TWRC_FAILURE;
    const MaxImageSize max = GetMaxImageSize();
    ReadOutcome outcome;
    linesRead_ = 0;
    cancelRequested_ = false;
    transferring_ = true;
    if (CSourceDialog* dialog = SourceDialog()) dialog->TransferStarted();

    auto read = [this, max, &outcome] {
        for (;;) {
            int result = Call([&] { return sane_.start(device_); });
            if (result != TWRC_SUCCESS) {
                outcome.result = result;
                return;
            }
            // Values asked before the start may be estimates: ask again.
            ScanFrame frame;
            result = Call([&] { return sane_.get_parameters(device_, &frame.parameters); });
            if (result != TWRC_SUCCESS) {
                outcome.result = result;
                return;
            }
            const SANE_Parameters& p = frame.parameters;
            if (p.pixels_per_line > max.width || p.lines > max.height) {
                outcome.tooLarge = true;
                return;
            }
            if (p.bytes_per_line <= 0) {
                outcome.result = TWRC_FAILURE;
                return;
            }
            if (p.lines > 0) frame.data.reserve(size_t(p.bytes_per_line) * size_t(p.lines));
            std::vector<SANE_Byte> block(kReadBlock);
            for (;;) {
                SANE_Int length = 0;
                result = Call([&] { return sane_.read(device_, block.data(), kReadBlock, &length); });
                if (result == TWRC_SUCCESS && length > 0)
                    frame.data.insert(frame.data.end(), block.begin(), block.begin() + length);
                if (cancelRequested_) result = TWRC_CANCEL;
                if (result != TWRC_SUCCESS) break;
                int64_t lines = int64_t(frame.data.size()) / p.bytes_per_line;
                if (lines > max.height) {
                    outcome.tooLarge = true;
                    return;
                }
                linesRead_ = int(lines);
            }
            if (result != TWRC_XFERDONE) {
                outcome.result = result;
                return;
            }
            bool last = p.last_frame;
            outcome.frames.push_back(std::move(frame));
            if (last || outcome.frames.size() >= 3) break;
        }
        outcome.result = TWRC_XFERDONE;
    };

    {
        QEventLoop loop;
        std::thread worker([&] {
            read();
            QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
        });
        QTimer progress;
        QObject::connect(&progress, &QTimer::timeout, [this] {
            if (CSourceDialog* dialog = SourceDialog()) dialog->ShowLinesRead(linesRead_);
        });
        progress.start(100);
        loop.exec();
        worker.join();
    }
    // Every scan is ended, complete or not, before anything else happens
    // to the device.
    CallVoid([&] { sane_.cancel(device_); });
    transferring_ = false;
    if (CSourceDialog* dialog = SourceDialog()) {
        dialog->ShowLinesRead(linesRead_);
        dialog->TransferEnded();
    }

    if (outcome.tooLarge) {
        ShowMessageBox(MessageOwner(), "DIB 过大。", "Kavolt", MB_BTN_OK | MB_ICON_INFORMATION);
        return TWRC_CANCEL;
    }
    if (outcome.result != TWRC_XFERDONE) return outcome.result;
    if (!ScanFramesUsable(outcome.frames)) return TWRC_FAILURE;
    MemHandle dib = ScanFramesToDib(outcome.frames);
    if (!dib) return TWRC_FAILURE;
    outcome.frames.clear();
    callback_(dib, value1_, value2_);
    return TWRC_XFERDONE;
}

void CTwainSource::CancelTransfer() {
    if (!transferring_ || !device_) return;
    cancelRequested_ = true;
    // The library allows the cancel at any time, from any thread: a read
    // that waits for the device returns at once.
    CallVoid([&] { sane_.cancel(device_); });
}

}  // namespace twain
