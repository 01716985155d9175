// The program's connection to scanners.
//
// The scanner library (SANE's "libsane.so.1") is bound at start-up and freed
// at exit; every library call goes through Call, which turns the library's
// status into the connection's result codes. The steps of an acquisition:
//
//   OpenManager (sane_init) -> OpenSource (sane_open) -> EnableSource (the
//   source's window, parent disabled) -> the user scans (MSG_XFERREADY) or
//   closes (MSG_CLOSEDSREQ), which ProcessEvent receives through the parent's
//   event filter -> TransferNative -> DisableSource, CloseSource (sane_close),
//   CloseManager (sane_exit).
//
// The transfer reads on a worker thread while the source's window shows the
// lines read; its 取消 cancels the scan. After every scan, complete or not,
// the scan is ended with sane_cancel before the device is closed.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QPointer>

#include "platform/memory.h"
#include "platform/window.h"
#include "twain/sane_functions.h"
#include "twain/twain_codes.h"

class QEvent;
class QWidget;

namespace twain {

class CSourceDialog;

// One option of the open device as the library describes it.
struct SourceOption {
    int index = 0;
    std::string name;
    std::string title;
    SANE_Value_Type type = SANE_TYPE_BOOL;
    SANE_Unit unit = SANE_UNIT_NONE;
    SANE_Int size = 0;
    SANE_Int capabilities = 0;
    SANE_Constraint_Type constraint = SANE_CONSTRAINT_NONE;
    std::vector<std::string> strings;  // a string list
    std::vector<double> words;         // a word list (fixed values unfixed)
    double min = 0, max = 0, quant = 0;  // a range

    bool Active() const { return SANE_OPTION_IS_ACTIVE(capabilities); }
    bool Settable() const { return SANE_OPTION_IS_SETTABLE(capabilities); }
};

class CTwainSource {
public:
    // The DIB handle (the callback owns it) and the two values of Acquire.
    using TransferCallback = void (*)(MemHandle dib, intptr_t value1, intptr_t value2);

    static constexpr const char* kLibraryName = "libsane.so.1";

    CTwainSource();
    ~CTwainSource();
    CTwainSource(const CTwainSource&) = delete;
    CTwainSource& operator=(const CTwainSource&) = delete;

    // The library Load opens (the system's scanner library by default).
    void SetLibraryName(std::string name) { libraryName_ = std::move(name); }

    // Binds the library's functions by name: 1, or 0 when already bound or
    // when the library or one of its functions is missing (the library is
    // then freed again).
    int Load();
    void Unload();
    bool IsLoaded() const { return library_ != nullptr; }
    // The bound functions (callers may wrap them).
    SaneFunctions& Functions() { return sane_; }

    // Runs one library call returning a status: 0x8000 when not bound; a
    // failing status is kept as the last condition code and gives
    // TWRC_FAILURE (TWRC_CANCEL for SANE_STATUS_CANCELLED); SANE_STATUS_EOF
    // gives TWRC_XFERDONE; success clears the condition code.
    template <class F>
    int Call(F&& call) {
        if (!IsLoaded()) return kManagerNotBound;
        return Result(call());
    }
    // The same for a call without a status.
    template <class F>
    int CallVoid(F&& call) {
        if (!IsLoaded()) return kManagerNotBound;
        call();
        return Result(SANE_STATUS_GOOD);
    }
    int LastCondition() const { return lastCondition_; }

    int OpenManager(QWidget* window);
    int CloseManager(QWidget* window);
    // Lists the devices in the device dialog; the choice becomes the source
    // identity. TWRC_CANCEL when the user cancels or none is listed.
    int UserSelect(QWidget* window);
    // Opens the chosen device (none chosen: the first one listed).
    int OpenSource();
    int CloseSource();
    // Shows the source's window (modeless) and disables `window`.
    int EnableSource(QWidget* window);
    int DisableSource(QWidget* window);
    // OpenManager, UserSelect, CloseManager.
    int SelectSource(QWidget* window);
    // Opens the manager and the source and enables it; the transfer later
    // calls `callback`. What it opened is closed again when a step fails.
    int Acquire(QWidget* window, TransferCallback callback, intptr_t value1, intptr_t value2);
    // An event for the parent while the source is enabled: 1 when it was
    // the source's (and was handled), else 0.
    int ProcessEvent(QWidget* window, QEvent* event);
    // Scans one image and gives it to the callback (TWRC_XFERDONE);
    // TWRC_FAILURE when reading failed or the picture could not be had,
    // TWRC_CANCEL when cancelled or too large ("DIB 过大。").
    int TransferNative();
    // Ends a running transfer (the source window's 取消).
    void CancelTransfer();

    bool IsManagerOpen() const { return managerOpen_; }
    bool IsSourceOpen() const { return sourceOpen_; }
    bool IsSourceEnabled() const { return sourceEnabled_; }
    bool IsTransferring() const { return transferring_; }
    // Lines read so far by the running transfer.
    int LinesRead() const { return linesRead_; }
    const SourceIdentity& Identity() const { return identity_; }
    void SetIdentity(SourceIdentity identity) { identity_ = std::move(identity); }
    // Set when the user closed the source's window: the parent goes to the
    // front. Reading clears it.
    bool TakeBringToFront();
    // The source's window while enabled, else null; message boxes shown
    // while the parent is disabled belong to it.
    CSourceDialog* SourceDialog() const;
    WinHandle MessageOwner() const;

    // Options of the open device.
    int OptionCount(int* count);
    std::optional<SourceOption> FindOption(const std::string& name);
    std::optional<SourceOption> Option(int index);
    // The option's value as text ("yes"/"no" for a switch); empty when it
    // cannot be read.
    std::string OptionText(const SourceOption& option);
    // Sets an option from text (numbers for numbers, "yes"/"no" or 1/0 for
    // a switch); a result code.
    int SetOptionText(const std::string& name, const std::string& text);

private:
    int Result(SANE_Status status);
    void CloseConnection();
    int FirstDevice(SourceIdentity* identity);

    std::string libraryName_ = kLibraryName;
    ModHandle library_ = nullptr;
    SaneFunctions sane_;
    SANE_Handle device_ = nullptr;
    int managerOpen_ = 0;
    int sourceOpen_ = 0;
    int sourceEnabled_ = 0;
    SourceIdentity identity_;
    std::atomic<int> lastCondition_{0};
    TransferCallback callback_ = nullptr;
    intptr_t value1_ = 0;
    intptr_t value2_ = 0;
    bool bringToFront_ = false;
    bool transferring_ = false;
    std::atomic<int> linesRead_{0};
    std::atomic<bool> cancelRequested_{false};
    QPointer<QWidget> parent_;
    std::unique_ptr<CSourceDialog> dialog_;
};

}  // namespace twain
