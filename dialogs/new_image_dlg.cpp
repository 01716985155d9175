#include "dialogs/new_image_dlg.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>

#include "framework/program_globals.h"
#include "dialogs/color_button.h"
#include "dialogs/dialog_host.h"
#include "dialogs/size_exchange.h"
#include "dialogs/size_expression.h"
#include "document/layer_factory.h"
#include "document/palette_from_image.h"
#include "framework/application.h"
#include "framework/data_exchange.h"
#include "framework/framework_strings.h"
#include "document/working_palette.h"
#include "platform/message_box.h"
#include "platform/paths.h"

using framework::ControlKind;

namespace {

const QString kCustomSizeText = QStringLiteral("指定特定尺寸");

QString ProgramDir() {
    const QString& dir = GetProgramDirectory();
    return dir.isEmpty() ? QString::fromStdString(platform::ProgramDirectory()) : dir;
}

void ShowWarning(QWidget* owner, const char* text) {
    framework::Application* app = framework::Application::Instance();
    QByteArray caption = app ? app->AppName().toUtf8() : QByteArrayLiteral("Kavolt");
    WinHandle handle = nullptr;
    if (auto* dialog = qobject_cast<framework::Dialog*>(owner)) handle = dialog->WindowHandle();
    ShowMessageBox(handle, text, caption.constData(), MB_BTN_OK | MB_ICON_WARNING);
}

}  // namespace

CNewImageDlg::KeptState& CNewImageDlg::Kept() {
    static KeptState kept;
    return kept;
}

CNewImageDlg::CNewImageDlg(QWidget* parent)
    : framework::Dialog(kTemplateId, parent),
      m_BackColor(Kept().background),
      m_strLayerName(document::DefaultLayerName(0)) {
    setWindowTitle(QStringLiteral("新建"));
    CreateControls({
        {kPresetListId, ControlKind::EditComboBox, {}, {12, 12, 296, 24}},
        {-1, ControlKind::Label, QStringLiteral("横:"), {16, 48, 30, 20}},
        {kWidthId, ControlKind::Edit, {}, {48, 46, 90, 22}},
        {-1, ControlKind::Label, QStringLiteral("纵: "), {172, 48, 30, 20}},
        {kHeightId, ControlKind::Edit, {}, {204, 46, 90, 22}},
        {kMode256Id, ControlKind::Radio, QStringLiteral("256色模式"), {16, 80, 140, 20}, true},
        {kMode16Id, ControlKind::Radio, QStringLiteral("16色模式"), {172, 80, 130, 20}},
        {kPaletteNoneId, ControlKind::Radio, QStringLiteral("无　　背景色(调板中0号)："),
         {16, 114, 204, 20}, true},
        {kPaletteFileId, ControlKind::Radio, QStringLiteral("有"), {16, 144, 120, 20}},
        {kPaletteLastUsedId, ControlKind::Radio, QStringLiteral("使用上次使用的调板"),
         {16, 174, 204, 20}},
        {kBrowseId, ControlKind::PushButton, QStringLiteral("浏览..."), {228, 141, 80, 26}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {144, 210, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {230, 210, 78, 26}},
    });
    backColorButton_ = new ColorButton(this);
    backColorButton_->setGeometry(228, 110, 80, 26);
    RegisterControl(kBackColorId, backColorButton_);
    // A typed text is never added to the list.
    Item<QComboBox>(kPresetListId)->setInsertPolicy(QComboBox::NoInsert);
    setFixedSize(320, 248);
}

CNewImageDlg::~CNewImageDlg() = default;

void CNewImageDlg::DeclareCommands(framework::CommandTable& table) {
    table.OnNotify(kPresetListId, framework::Notify::SelChange, [this] { OnPresetChosen(); })
        .On(kPaletteNoneId, [this] { OnPaletteSource(kPaletteNone); })
        .On(kPaletteFileId, [this] { OnPaletteSource(kPaletteFromFile); })
        .On(kPaletteLastUsedId, [this] { OnPaletteSource(kPaletteLastUsed); })
        .On(kBrowseId, [this] { OnBrowse(); })
        .On(kBackColorId, [this] { OnBackColor(); });
    framework::Dialog::DeclareCommands(table);
}

void CNewImageDlg::DoDataExchange(framework::DataExchange& dx) {
    ExchangeImageSize(dx, kWidthId, m_nWidth, kHeightId, m_nHeight);
    dx.Radio(kMode256Id, m_nColorMode);
}

bool CNewImageDlg::OnInitDialog() {
    framework::Dialog::OnInitDialog();
    CheckRadioButton(kPaletteNoneId, kPaletteLastUsedId, kPaletteNoneId);

    KeptState& kept = Kept();
    auto* presets = Item<QComboBox>(kPresetListId);
    if (ReadMenuTxt(ProgramDir(), kept.presets) > 0) {
        presets->clear();
        for (const SizePreset& preset : kept.presets) presets->addItem(QString::fromStdString(preset.name));
        presets->setCurrentIndex(0);
    }
    presets->setEditText(kCustomSizeText);

    // Every dialog opens with no palette file chosen.
    EnableDlgItem(kBrowseId, false);
    kept.paletteSource = kPaletteNone;
    kept.palettePath.clear();
    m_BackColor = kept.background;
    backColorButton_->SetColor(m_BackColor);

    QRect area;
    if (QWidget* owner = parentWidget()) area = owner->window()->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen()) area = screen->availableGeometry();
    if (area.isValid()) move(area.center() - rect().center());
    return true;
}

void CNewImageDlg::OnPresetChosen() {
    auto* presets = Item<QComboBox>(kPresetListId);
    int index = presets->currentIndex();
    const std::vector<SizePreset>& table = Kept().presets;
    if (index < 0 || index >= int(table.size())) {
        presets->setEditText(kCustomSizeText);
        return;
    }
    SetDlgItemInt(kWidthId, table[size_t(index)].width);
    SetDlgItemInt(kHeightId, table[size_t(index)].height);
}

void CNewImageDlg::OnPaletteSource(int source) {
    Kept().paletteSource = source;
    EnableDlgItem(kBrowseId, source == kPaletteFromFile);
}

void CNewImageDlg::OnBrowse() {
    QString& path = Kept().palettePath;
    path.clear();
    framework::Application* app = framework::Application::Instance();
    QString name;
    if (app && app->DoPromptFileName(name, framework::IDS_OPEN_TITLE, true, nullptr)) path = name;
}

void CNewImageDlg::OnBackColor() {
    if (DialogHost* host = DialogHost::Installed(); host && !host->ProbeWorkMemory(0)) return;
    Color color = Kept().background;
    if (ChooseColor(this, color)) backColorButton_->SetColor(color);
    m_BackColor = backColorButton_->Color();
    Kept().background = m_BackColor;
}

bool CNewImageDlg::ConfirmSizeField(int id) {
    const QString text = GetDlgItemText(id);
    if (text.isEmpty()) return true;
    const SizeExpression result = EvalSizeExpression(text);
    SetDlgItemInt(id, result.value);
    return result.valid && result.operators == 0;
}

void CNewImageDlg::OnOK() {
    // Both fields are shown with their values, even when the first stays.
    const bool widthPasses = ConfirmSizeField(kWidthId);
    const bool heightPasses = ConfirmSizeField(kHeightId);
    if (!widthPasses || !heightPasses) return;
    if (Kept().paletteSource == kPaletteFromFile && Kept().palettePath.isEmpty()) {
        ShowWarning(this, "请参照文件");
        return;
    }
    framework::Dialog::OnOK();
}

bool CNewImageDlg::LoadPaletteFromFile(CPelmarkDoc*) {
    ClearWorkingPalette();
    if (!Kept().palettePath.isEmpty() && document::LoadPaletteFromImageFile(Kept().palettePath))
        return true;
    ShowMessageBox(nullptr, "调色板取出失败", "Kavolt", MB_BTN_OK | MB_ICON_WARNING);
    Kept().palettePath.clear();
    return false;
}
