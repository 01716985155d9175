// Result codes, event messages and the source identity of the scanner
// connection.
//
// Results are compared in their low 16 bits: a return code of a call
// (TWRC_*), or a code of the connection itself (0x8000 and up).
#pragma once

#include <string>

namespace twain {

// Return codes of a call.
constexpr int TWRC_SUCCESS = 0;
constexpr int TWRC_FAILURE = 1;
constexpr int TWRC_CANCEL = 3;
constexpr int TWRC_DSEVENT = 4;
constexpr int TWRC_NOTDSEVENT = 5;
constexpr int TWRC_XFERDONE = 6;

// Codes of the connection.
constexpr int kManagerNotBound = 0x8000;
constexpr int kManagerAlreadyOpen = 0x8001;
constexpr int kSourceAlreadyOpen = 0x8002;
constexpr int kSourceAlreadyEnabled = 0x8003;
constexpr int kManagerNotOpen = 0x8004;
constexpr int kSourceNotEnabled = 0x8006;
constexpr int kNoTransferCallback = 0x8007;

// Messages the source's window posts to its parent.
constexpr int MSG_XFERREADY = 0x0101;   // the user asked for the image
constexpr int MSG_CLOSEDSREQ = 0x0102;  // the user closed the source's window
constexpr int MSG_CLOSEDSOK = 0x0103;

// The source chosen by the user: a scanner device as the scanner library
// lists it.
struct SourceIdentity {
    std::string name;    // the device name the library opens ("test:0")
    std::string vendor;
    std::string model;
    std::string type;
};

}  // namespace twain
