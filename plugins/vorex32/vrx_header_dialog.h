// The header dialog of a VRX save ("VRXファイルヘッダー"): rendering flags,
// mipmap LOD, video-memory positions, CLUT entry form and compression. It
// works on the library's options; OK writes them back.
#pragma once

#include <QString>

#include "framework/dialog.h"
#include "plugins/vorex32/vorex32_state.h"

class QEventLoop;

class CVrxHeaderDialog : public framework::Dialog {
public:
    enum {
        IDD = 101,
        IDC_ENTRY32 = 1000,      // "PCMCT32"
        IDC_ENTRY16 = 1001,      // "PCMCT16"
        IDC_CLUT_POS = 1002,
        IDC_CSM1 = 1003,
        IDC_CSM2 = 1004,
        IDC_PIXEL_POS = 1007,
        IDC_MULTI_CLUT = 1008,
        IDC_RESERVE = 1011,      // flag bit 0
        IDC_EVERY_FRAME = 1012,  // bit 1
        IDC_LOD_FORMULA = 1013,
        IDC_LOD_FIXED = 1014,
        IDC_LOD_L = 1015,
        IDC_LOD_K = 1016,
        IDC_CLUT_TRANSFER = 1018,  // bit 2
        IDC_MORNING = 1019,        // bits 3-4: 1019..1022
        IDC_NIGHT = 1022,
        IDC_HEIGHT = 1023,
        IDC_SECOND_K = 1024,
        IDC_POINT_SAMPLING = 1025,  // bit 6
        IDC_COMPRESS = 1027,
        IDC_Z_ONLY = 1028,          // bit 7
        IDC_NO_ALPHA_CORRECTION = 1029,  // bit 8
        IDC_DIST_ALPHA0 = 1030,          // bit 9
    };

    explicit CVrxHeaderDialog(Vorex32State& state);

    // Puts the options into the controls.
    void Fill();
    // Runs until OK or Cancel (the loop of a modeless dialog).
    void RunLoop();

protected:
    void OnOK() override;
    void OnCancel() override;
    void DeclareCommands(framework::CommandTable& table) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool ReadHex(int id, int32_t& value, const char* message);
    bool ReadRange(int id, int min, int max, const char* message, int& value);
    void Stop();

    Vorex32State& state_;
    QEventLoop* loop_ = nullptr;
};

// Parses a video-memory position: hexadecimal up to 32 bits, or "-1".
bool VrxParseVramPosition(const QString& text, int32_t& value);

// The presets a save takes from the 32 header bytes of an existing VRX file,
// after the version rules (a version other than 1.70 is shown with its
// message and becomes 1.70).
void VrxApplyPresets(WinHandle owner, const VrxFileHeader& header, VrxWriteOptions& options);
