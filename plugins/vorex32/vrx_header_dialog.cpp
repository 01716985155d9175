#include "plugins/vorex32/vrx_header_dialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>

#include <cstdio>

#include "framework/command_ids.h"

using framework::ControlKind;

namespace {

// The flag bits of the check boxes, in the order they are listed.
struct FlagCheck {
    int id;
    uint32_t bit;
};
constexpr FlagCheck kFlagChecks[] = {
    {CVrxHeaderDialog::IDC_RESERVE, VRX_FLAG_RESERVE},
    {CVrxHeaderDialog::IDC_EVERY_FRAME, VRX_FLAG_EVERY_FRAME},
    {CVrxHeaderDialog::IDC_CLUT_TRANSFER, VRX_FLAG_CLUT_TRANSFER},
    {CVrxHeaderDialog::IDC_POINT_SAMPLING, VRX_FLAG_POINT_SAMPLING},
    {CVrxHeaderDialog::IDC_Z_ONLY, VRX_FLAG_Z_ONLY},
    {CVrxHeaderDialog::IDC_NO_ALPHA_CORRECTION, VRX_FLAG_NO_ALPHA_CORRECTION},
    {CVrxHeaderDialog::IDC_DIST_ALPHA0, VRX_FLAG_DIST_ALPHA0},
};

constexpr int kDefaultK = 3934;

QString Text(const char* s) { return QString::fromUtf8(s); }

}  // namespace

CVrxHeaderDialog::CVrxHeaderDialog(Vorex32State& state) : Dialog(IDD), state_(state) {
    setWindowTitle(Text("VRXファイルヘッダー"));
    resize(470, 400);
    CreateControls({
        {0, ControlKind::GroupBox, Text("レンダリングフラグ"), {10, 8, 220, 226}},
        {IDC_RESERVE, ControlKind::CheckBox, Text("確保する"), {20, 28, 200, 20}},
        {IDC_EVERY_FRAME, ControlKind::CheckBox, Text("毎フレーム転送する"), {20, 50, 200, 20}},
        {IDC_CLUT_TRANSFER, ControlKind::CheckBox, Text("クラット転送設定"), {20, 72, 200, 20}},
        {IDC_POINT_SAMPLING, ControlKind::CheckBox, Text("ポイントサンプリング"), {20, 94, 200, 20}},
        {IDC_Z_ONLY, ControlKind::CheckBox, Text("Ｚバッファのみ更新"), {20, 116, 200, 20}},
        {IDC_NO_ALPHA_CORRECTION, ControlKind::CheckBox, Text("アルファ補正なし"), {20, 138, 200, 20}},
        {IDC_DIST_ALPHA0, ControlKind::CheckBox, Text("DIST ALPHA0 DRAW"), {20, 160, 200, 20}},
        {IDC_MORNING, ControlKind::Radio, Text("朝"), {20, 190, 48, 20}, true},
        {1020, ControlKind::Radio, Text("昼"), {70, 190, 48, 20}},
        {1021, ControlKind::Radio, Text("夕方"), {120, 190, 52, 20}},
        {IDC_NIGHT, ControlKind::Radio, Text("夜"), {174, 190, 48, 20}},

        {0, ControlKind::GroupBox, Text("ミップマップ LOD"), {240, 8, 220, 154}},
        {IDC_LOD_FORMULA, ControlKind::Radio, Text("計算式"), {250, 28, 90, 20}, true},
        {IDC_LOD_FIXED, ControlKind::Radio, Text("固定値"), {350, 28, 90, 20}},
        {0, ControlKind::Label, Text("L"), {250, 56, 70, 20}},
        {IDC_LOD_L, ControlKind::Edit, QString(), {330, 54, 110, 22}},
        {0, ControlKind::Label, Text("K"), {250, 82, 70, 20}},
        {IDC_LOD_K, ControlKind::Edit, QString(), {330, 80, 110, 22}},
        {0, ControlKind::Label, Text("高さ"), {250, 108, 70, 20}},
        {IDC_HEIGHT, ControlKind::Edit, QString(), {330, 106, 110, 22}},
        {0, ControlKind::Label, Text("K2"), {250, 134, 70, 20}},
        {IDC_SECOND_K, ControlKind::Edit, QString(), {330, 132, 110, 22}},

        {0, ControlKind::GroupBox, Text("Vram"), {10, 240, 220, 110}},
        {0, ControlKind::Label, Text("PIXEL Vram位置"), {20, 262, 110, 20}},
        {IDC_PIXEL_POS, ControlKind::Edit, QString(), {134, 260, 86, 22}},
        {0, ControlKind::Label, Text("CLUT Vram位置"), {20, 290, 110, 20}},
        {IDC_CLUT_POS, ControlKind::Edit, QString(), {134, 288, 86, 22}},
        {IDC_COMPRESS, ControlKind::CheckBox, Text("圧縮する"), {20, 320, 200, 20}},

        {0, ControlKind::GroupBox, Text("クラット"), {240, 170, 220, 180}},
        {IDC_ENTRY32, ControlKind::Radio, Text("PCMCT32"), {250, 190, 100, 20}, true},
        {IDC_ENTRY16, ControlKind::Radio, Text("PCMCT16"), {350, 190, 100, 20}},
        {IDC_CSM1, ControlKind::Radio, Text("CSM1"), {250, 218, 100, 20}, true},
        {IDC_CSM2, ControlKind::Radio, Text("CSM2"), {350, 218, 100, 20}},
        {IDC_MULTI_CLUT, ControlKind::CheckBox, Text("マルチクラット"), {250, 246, 200, 20}},

        {framework::IDOK, ControlKind::DefPushButton, Text("确定"), {280, 362, 84, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, Text("取消"), {372, 362, 84, 26}},
    });
}

void CVrxHeaderDialog::Fill() {
    const VrxWriteOptions& o = state_.options;
    for (const FlagCheck& c : kFlagChecks) CheckDlgButton(c.id, (o.flags & c.bit) ? 1 : 0);
    CheckRadioButton(IDC_MORNING, IDC_NIGHT, IDC_MORNING + int((o.flags & VRX_FLAG_TIME_MASK) >> VRX_FLAG_TIME_SHIFT));
    CheckRadioButton(IDC_LOD_FORMULA, IDC_LOD_FIXED, o.lodMode == 0 ? IDC_LOD_FORMULA : IDC_LOD_FIXED);
    SetDlgItemInt(IDC_LOD_L, o.lodL);
    SetDlgItemInt(IDC_LOD_K, o.lodK);
    SetDlgItemInt(IDC_HEIGHT, o.height);
    SetDlgItemInt(IDC_SECOND_K, o.secondK);
    CheckDlgButton(IDC_COMPRESS, o.compressed ? 1 : 0);
    CheckRadioButton(IDC_ENTRY32, IDC_ENTRY16, IDC_ENTRY32);
    CheckRadioButton(IDC_CSM1, IDC_CSM2, IDC_CSM1);
    SetDlgItemText(IDC_PIXEL_POS, QStringLiteral("-1"));
    SetDlgItemText(IDC_CLUT_POS, QStringLiteral("-1"));
}

void CVrxHeaderDialog::DeclareCommands(framework::CommandTable& table) {
    // The two CLUT choices go together: 32-bit entries are CSM1 only, CSM2
    // takes 16-bit entries.
    table.On(IDC_ENTRY32, [this] { CheckRadioButton(IDC_CSM1, IDC_CSM2, IDC_CSM1); });
    table.On(IDC_CSM2, [this] { CheckRadioButton(IDC_ENTRY32, IDC_ENTRY16, IDC_ENTRY16); });
    Dialog::DeclareCommands(table);
}

bool CVrxHeaderDialog::ReadHex(int id, int32_t& value, const char* message) {
    if (VrxParseVramPosition(GetDlgItemText(id), value)) return true;
    VrxError(WindowHandle(), message);
    SetDlgItemText(id, QStringLiteral("-1"));
    value = -1;
    GotoDlgCtrl(id);
    return false;
}

bool CVrxHeaderDialog::ReadRange(int id, int min, int max, const char* message, int& value) {
    bool ok = false;
    value = GetDlgItemInt(id, &ok);
    if (ok && value >= min && value <= max) return true;
    VrxError(WindowHandle(), message);
    SetDlgItemText(id, QStringLiteral("0"));
    GotoDlgCtrl(id);
    return false;
}

void CVrxHeaderDialog::OnOK() {
    VrxWriteOptions& o = state_.options;
    if (!ReadHex(IDC_PIXEL_POS, o.pixelPos, "PIXEL Vram位置には16進数か-1を入力してください。")) return;
    if (!ReadHex(IDC_CLUT_POS, o.clutPos, "CLUTL Vram位置には16進数か-1を入力してください。")) return;
    int l, k, height, secondK;
    if (!ReadRange(IDC_LOD_L, 0, 3, "LOD Lは0～3までの値を入力してください。", l)) return;
    if (!ReadRange(IDC_LOD_K, 0, 4095, "LOD Kは0～4095までの値を入力してください。", k)) return;
    if (!ReadRange(IDC_HEIGHT, 0, 10000, "高さは0～10000度までの値を入力してください。", height)) return;
    if (!ReadRange(IDC_SECOND_K, 0, 4095, "LOD Kは0～4095までの値を入力してください。", secondK)) return;
    o.lodL = uint8_t(l);
    o.lodK = uint16_t(k);
    o.height = uint16_t(height);
    o.secondK = uint16_t(secondK);
    o.lodMode = IsDlgButtonChecked(IDC_LOD_FIXED) ? 1 : 0;
    o.compressed = IsDlgButtonChecked(IDC_COMPRESS) != 0;
    o.entryType = IsDlgButtonChecked(IDC_ENTRY16) ? VRX_ENTRY_16BIT : VRX_ENTRY_32BIT;
    o.multiClut = IsDlgButtonChecked(IDC_MULTI_CLUT) != 0;
    uint32_t flags = 0;
    for (const FlagCheck& c : kFlagChecks)
        if (IsDlgButtonChecked(c.id)) flags |= c.bit;
    const int time = GetCheckedRadioButton(IDC_MORNING, IDC_NIGHT);
    if (time) flags |= uint32_t(time - IDC_MORNING) << VRX_FLAG_TIME_SHIFT;
    if (o.version >= kVrxFlagsVersion) flags |= VRX_FLAG_NEW_VERSION;
    o.flags = flags;
    state_.dialogResult = 0;
    Stop();
}

void CVrxHeaderDialog::OnCancel() { Stop(); }

void CVrxHeaderDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    Stop();
}

void CVrxHeaderDialog::Stop() {
    state_.stop = true;
    hide();
    if (loop_) loop_->quit();
}

void CVrxHeaderDialog::RunLoop() {
    show();
    activateWindow();
    setFocus();
    if (ModalDriver driver = CurrentModalDriver()) {
        driver(*this);
    } else if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        // Nobody could ever answer: a headless run never waits here.
        qWarning("Dialog %d: no modal driver, ending as Cancel", IDD);
    } else {
        QEventLoop loop;
        loop_ = &loop;
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
        if (!state_.stop) loop.exec();
        loop_ = nullptr;
    }
    state_.stop = true;
}

bool VrxParseVramPosition(const QString& text, int32_t& value) {
    const QString t = text.trimmed();
    if (t == QLatin1String("-1")) {
        value = -1;
        return true;
    }
    if (t.isEmpty() || t.startsWith(u'-') || t.startsWith(u'+')) return false;
    bool ok = false;
    const qulonglong v = t.toULongLong(&ok, 16);
    if (!ok || v > 0xFFFFFFFFull) return false;
    value = int32_t(uint32_t(v));
    return true;
}

void VrxApplyPresets(WinHandle owner, const VrxFileHeader& header, VrxWriteOptions& options) {
    options.compressed = header.compressed != 0;
    const uint32_t version = header.version < 100 ? 100 : header.version;
    options.flags = header.flags;
    options.lodMode = header.lodMode;
    options.lodL = header.lodL;
    options.lodK = header.lodK;
    options.height = header.height;
    options.secondK = header.secondK;
    if (version != kVrxVersion) {
        char text[160];
        std::snprintf(text, sizeof text,
                      version > kVrxVersion ? "このＶＲＸのバージョンはVer. %2.2fです。\nVer. %2.2fにダウンします。"
                                            : "このＶＲＸのバージョンはVer. %2.2fです。\nVer. %2.2fにアップします。",
                      version / 100.0, kVrxVersion / 100.0);
        VrxError(owner, text);
    }
    if (version < kVrxFlagsVersion) {
        if (version == 120) {
            options.flags &= VRX_FLAG_RESERVE | VRX_FLAG_EVERY_FRAME;
        } else {
            options.flags = 1;
            options.lodMode = 0;
            options.lodL = 0;
            options.lodK = kDefaultK;
        }
        options.height = 0;
        options.secondK = kDefaultK;
    }
    options.version = kVrxVersion;
}
