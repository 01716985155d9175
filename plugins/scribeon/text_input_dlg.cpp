#include "plugins/scribeon/text_input_dlg.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QAbstractButton>
#include <QComboBox>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "framework/wait_cursor.h"
#include "imaging/dib_geometry.h"
#include "platform/message_box.h"
#include "platform/window_qt.h"
#include "plugins/kit/kit_blocks.h"
#include "plugins/scribeon/text_color_button.h"

using framework::ControlKind;

namespace {

// Where a character's chosen palette index and character set ride along
// with its format.
constexpr int kColorIndexProperty = QTextFormat::UserProperty + 1;
constexpr int kCharsetProperty = QTextFormat::UserProperty + 2;

const char* const kStyleNames[4] = {"常规   ", "斜体  ", "粗体", "粗斜体     "};
constexpr int kStyleEffects[4] = {0, 2, 1, 3};

// The current layer of the record's null-terminated table, or null.
MemHandle CurrentLayer(const PluginToolRecord* record) {
    if (!record->layers || record->editLayer < 0 || record->editLayer >= 100) return nullptr;
    for (int i = 0; i <= record->editLayer; ++i)
        if (!record->layers[i]) return nullptr;
    return record->layers[record->editLayer];
}

// The pictures of the six alignment buttons: four text lines against the
// left, the middle or the right (or top, middle, bottom for columns).
QIcon AlignmentPicture(int alignment) {
    QPixmap picture(24, 24);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setPen(Qt::black);
    const int lengths[4] = {16, 10, 14, 8};
    for (int i = 0; i < 4; ++i) {
        const int n = lengths[i], across = 4 + i * 5;
        const int mode = alignment % 3;
        const int start = mode == 0 ? 4 : mode == 1 ? 12 - n / 2 : 20 - n;
        if (alignment < 3) p.drawLine(start, across, start + n - 1, across);
        else p.drawLine(23 - across, start, 23 - across, start + n - 1);
    }
    return QIcon(picture);
}

int AlignmentId(int alignment) { return CTextInputDlg::IDC_YOKO_LEFT + std::clamp(alignment, 0, 5); }

}  // namespace

CTextInputDlg::CTextInputDlg(WinHandle hostWindow, PluginToolInfo* info, PluginToolRecord* record)
    : Dialog(IDD, nullptr), m_pRecord(record), m_pInfo(info), m_hHostWnd(hostWindow) {
    // Owned transiently: the dialog stays usable while the host's windows
    // are locked.
    if (QWidget* host = platform::WinWidget(hostWindow)) {
        setParent(host, Qt::Dialog);
    }
    setWindowTitle(QStringLiteral("输入文本"));
    resize(430, 330);
    SetKitMemoryMessage("内存不足", "error");
    CreateControls({
        {0, ControlKind::Label, QStringLiteral("字体"), {10, 168, 60, 18}},
        {IDC_FACE, ControlKind::ComboBox, QString(), {10, 186, 170, 24}},
        {0, ControlKind::Label, QStringLiteral("风格"), {190, 168, 60, 18}},
        {IDC_STYLE, ControlKind::ComboBox, QString(), {190, 186, 100, 24}},
        {0, ControlKind::Label, QStringLiteral("尺寸"), {300, 168, 60, 18}},
        {IDC_SIZE, ControlKind::Edit, QString(), {300, 186, 60, 24}},
        {IDC_SIZE_SPIN, ControlKind::SpinBox, QString(), {360, 186, 18, 24}},
        {0, ControlKind::Label, QStringLiteral("行间距"), {10, 218, 60, 18}},
        {IDC_SPACING_LINE, ControlKind::Edit, QString(), {10, 236, 60, 24}},
        {IDC_LINE_SPIN, ControlKind::SpinBox, QString(), {70, 236, 18, 24}},
        {0, ControlKind::Label, QStringLiteral("字间距"), {100, 218, 60, 18}},
        {IDC_SPACING_CHAR, ControlKind::Edit, QString(), {100, 236, 60, 24}},
        {IDC_CHAR_SPIN, ControlKind::SpinBox, QString(), {160, 236, 18, 24}},
        {IDC_YOKO_LEFT, ControlKind::Radio, QString(), {190, 236, 34, 26}, true},
        {IDC_YOKO_CENTER, ControlKind::Radio, QString(), {224, 236, 34, 26}},
        {IDC_YOKO_RIGHT, ControlKind::Radio, QString(), {258, 236, 34, 26}},
        {IDC_TATE_TOP, ControlKind::Radio, QString(), {292, 236, 34, 26}},
        {IDC_TATE_CENTER, ControlKind::Radio, QString(), {326, 236, 34, 26}},
        {IDC_TATE_BOTTOM, ControlKind::Radio, QString(), {360, 236, 34, 26}},
        {0, ControlKind::Label, QStringLiteral("颜色"), {10, 268, 40, 18}},
        {IDC_COLOR, ControlKind::PushButton, QString(), {10, 286, 40, 24}},
        {0, ControlKind::Label, QStringLiteral("窗口背景色"), {60, 268, 80, 18}},
        {IDC_PREVIEW, ControlKind::CheckBox, QStringLiteral("预览"), {150, 288, 60, 20}},
        {IDC_ANTIALIAS, ControlKind::CheckBox, QStringLiteral("反锯齿"), {210, 288, 70, 20}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {284, 286, 66, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {354, 286, 66, 26}},
    });
    auto* edit = new QTextEdit(this);
    edit->setGeometry(10, 10, 410, 150);
    edit->setAcceptRichText(false);
    RegisterControl(IDC_TEXT, edit);
    m_pBackground = new CTextColorButton(this);
    m_pBackground->setGeometry(60, 286, 80, 24);
    RegisterControl(IDC_BACKGROUND, m_pBackground);
    m_pBackground->onColor = [this](const QColor& color) {
        QPalette palette = Edit()->palette();
        palette.setColor(QPalette::Base, color);
        Edit()->setPalette(palette);
    };
    connect(edit, &QTextEdit::selectionChanged, this, [this] { OnSelectionChanged(); });
    connect(edit, &QTextEdit::cursorPositionChanged, this, [this] { OnSelectionChanged(); });
    m_fonts = std::make_unique<GlyphFonts>();
}

CTextInputDlg::~CTextInputDlg() { FreeWork(); }

QTextEdit* CTextInputDlg::Edit() const { return Item<QTextEdit>(IDC_TEXT); }

void CTextInputDlg::Fail(const char* text, const char* caption) {
    ShowMessageBox(m_hHostWnd, text, caption, MB_BTN_OK);
    FreeWork();
    m_bDone = true;
    DestroyWindow();
}

void CTextInputDlg::FreeWork() {
    m_masks.Release();
    FreeRgbBuffer(m_pComposite);
    FreeRgbBuffer(m_pCompositeCopy);
    m_pComposite = m_pCompositeCopy = nullptr;
    GlobalFreeSafe(m_hWork);
    m_hWork = nullptr;
    m_textMask.clear();
    m_chosen.clear();
}

bool CTextInputDlg::OnInitDialog() {
    // 1-3: the layer, its work copy, the composite and the selection.
    if (!m_pRecord || !m_pRecord->layers) {
        Fail("没有选择图层", "error");
        return true;
    }
    m_hImage = m_pInfo ? m_pInfo->image : nullptr;
    m_hLayer = CurrentLayer(m_pRecord);
    {
        dib::LockedDib image(m_hImage);
        if (image && (image.geo().bitCount == 4 || image.geo().bitCount == 8)) {
            m_width = image.geo().width;
            m_height = image.geo().height;
            dib::ReadColorTable(image.data(), image.geo(), m_palette);
            m_nColors = image.geo().bitCount == 4 ? 16 : 256;
        }
    }
    if (m_hLayer && m_width > 0) {
        m_hWork = GlobalDuplicate(m_hLayer);
        m_pComposite = CompositeLayersToRgb(m_hImage, m_pRecord->layers, m_pRecord);
        m_pCompositeCopy = CopyRgbBuffer(m_pComposite);
    }
    const size_t maskBytes = size_t(m_width + 7) / 8 * size_t(m_height);
    if (!m_hWork || !m_pComposite || !m_pCompositeCopy ||
        MemSize(m_hWork) < LAYER_HEADER_SIZE + size_t((m_width + 3) & ~3) * size_t(m_height)) {
        Fail("内存不足", "error");
        return true;
    }
    if (!m_pRecord->selectionMask) ShowMessageBox(m_hHostWnd, "未对应选择范围", "", MB_BTN_OK);
    if (!m_masks.Take(m_pRecord->selectionMask, m_width, m_height)) {
        Fail("内存不足", "error");
        return true;
    }
    m_textMask.assign(maskBytes, 0);
    m_chosen.assign(size_t(m_width) * size_t(m_height), 0);

    // 4-6: colours, spins, the text box.
    m_nColorIndex = m_pRecord->currentColor ? std::clamp(*m_pRecord->currentColor, 0, 255) : 0;
    ShowTextColor();
    m_bAntiAlias = m_pRecord->antiAlias ? 1 : 0;
    m_bSettingControls = true;
    for (int id : {IDC_SIZE_SPIN, IDC_LINE_SPIN, IDC_CHAR_SPIN})
        Item<QSpinBox>(id)->setRange(id == IDC_SIZE_SPIN ? 1 : 0, int(kMaxTextNumber));
    for (int a = 0; a < 6; ++a) Item<QAbstractButton>(AlignmentId(a))->setIcon(AlignmentPicture(a));
    m_bSettingControls = false;

    // 7-8: faces and the format. The format starts with the text box's own
    // face (fontconfig's match for its font), not with whichever family
    // happens to sort first.
    FillFaces();
    m_cf.charset = kDefaultCharset;
    m_cf.face = BoundedFaceName(Edit()->font().family().toStdString());
    SelectFace(m_cf.face);
    FillStyles();

    // 9: the stored settings arrive during this call.
    WinSendMessage(m_hHostWnd, WM_PLUGIN_SETTINGS, reinterpret_cast<WinWParam>(WindowHandle()),
                   PLUGIN_SETTINGS_READ_MOJI);

    // 10.
    m_bSettingControls = true;
    SetNumberText(IDC_SIZE, QString::fromStdString(FormatTenths(m_fSize)));
    SetNumberText(IDC_SPACING_LINE, QString::fromStdString(FormatTenths(m_fLineSpacing)));
    SetNumberText(IDC_SPACING_CHAR, QString::fromStdString(FormatTenths(m_fCharSpacing)));
    m_strSize = GetDlgItemText(IDC_SIZE);
    m_strLineSpacing = GetDlgItemText(IDC_SPACING_LINE);
    m_strCharSpacing = GetDlgItemText(IDC_SPACING_CHAR);
    Item<QSpinBox>(IDC_SIZE_SPIN)->setValue(int(m_fSize));
    Item<QSpinBox>(IDC_LINE_SPIN)->setValue(int(m_fLineSpacing));
    Item<QSpinBox>(IDC_CHAR_SPIN)->setValue(int(m_fCharSpacing));
    CheckRadioButton(IDC_YOKO_LEFT, IDC_TATE_BOTTOM, AlignmentId(m_nAlignment));
    CheckDlgButton(IDC_PREVIEW, m_bPreview);
    CheckDlgButton(IDC_ANTIALIAS, m_bAntiAlias);
    m_bSettingControls = false;
    SelectFace(m_cf.face);
    FillStyles();
    for (int i = 0; i < 4; ++i)
        if (kStyleEffects[i] == m_cf.effects) Item<QComboBox>(IDC_STYLE)->setCurrentIndex(i);
    m_cf.heightTwips = int(std::lround(m_fSize * 20.0f));
    m_bRenderReady = false;
    Edit()->setCurrentCharFormat(QtFormat());
    Edit()->setFocus();
    m_bRenderReady = true;
    SetTimer(1, 10);
    return true;
}

void CTextInputDlg::FillFaces() {
    auto* combo = Item<QComboBox>(IDC_FACE);
    combo->clear();
    for (const std::string& family : InstalledFontFamilies()) combo->addItem(QString::fromStdString(family));
    if (combo->count()) combo->setCurrentIndex(0);
}

void CTextInputDlg::FillStyles() {
    auto* combo = Item<QComboBox>(IDC_STYLE);
    const int keep = std::max(combo->currentIndex(), 0);
    combo->clear();
    for (const char* name : kStyleNames) combo->addItem(QString::fromUtf8(name));
    combo->setCurrentIndex(keep);
}

void CTextInputDlg::SelectFace(const std::string& face) {
    auto* combo = Item<QComboBox>(IDC_FACE);
    int index = combo->findText(QString::fromStdString(face));
    if (index < 0 && !face.empty()) {
        // A face that is not installed gives way to fontconfig's match for
        // it (with the language of its character set), the family its glyphs
        // would come from anyway.
        FontChoice font;
        font.face = face;
        font.charset = m_cf.charset;
        const std::string match = m_fonts->FamilyFor(font, 0);
        index = match.empty() ? -1 : combo->findText(QString::fromStdString(match));
        if (index >= 0) {
            m_cf.face = BoundedFaceName(match);
            m_cf.charset = CharsetOfFamily(m_cf.face);
        } else {
            combo->insertItem(0, QString::fromStdString(face));
            index = 0;
        }
    }
    if (index >= 0) combo->setCurrentIndex(index);
}

void CTextInputDlg::LoadSettings(const char* text) {
    if (!text) return;
    TextSettings s = CurrentSettings();
    if (!ParseTextSettings(text, &s)) return;
    m_cf.face = s.face;
    m_cf.effects = s.effects;
    m_cf.charset = s.charset;
    m_nAlignment = s.alignment;
    m_bPreview = s.preview;
    m_bAntiAlias = s.antiAlias;
    m_fSize = s.size;
    m_fLineSpacing = s.lineSpacing;
    m_fCharSpacing = s.charSpacing;
    m_pBackground->SetIndex(s.background);
}

TextSettings CTextInputDlg::CurrentSettings() const {
    TextSettings s;
    s.face = m_cf.face;
    s.effects = m_cf.effects;
    s.charset = m_cf.charset;
    s.alignment = m_nAlignment;
    s.preview = m_bPreview;
    s.antiAlias = m_bAntiAlias;
    s.size = m_fSize;
    s.lineSpacing = m_fLineSpacing;
    s.charSpacing = m_fCharSpacing;
    s.background = m_pBackground ? m_pBackground->Index() : 0;
    return s;
}

void CTextInputDlg::ReadCombos() {
    const std::string face = BoundedFaceName(Item<QComboBox>(IDC_FACE)->currentText().toStdString());
    if (face != m_cf.face) {
        m_cf.face = face;
        m_cf.charset = CharsetOfFamily(face);
    }
    const int style = Item<QComboBox>(IDC_STYLE)->currentIndex();
    m_cf.effects = style >= 0 && style < 4 ? kStyleEffects[style] : 0;
    m_cf.heightTwips = int(std::lround(m_fSize * 20.0f));
}

QTextCharFormat CTextInputDlg::QtFormat() const {
    QTextCharFormat f;
    f.setFontFamilies(QStringList{QString::fromStdString(m_cf.face)});
    f.setFontWeight((m_cf.effects & 1) ? QFont::Bold : QFont::Normal);
    f.setFontItalic((m_cf.effects & 2) != 0);
    f.setFontPointSize(m_cf.heightTwips / 20.0);
    const PaletteEntry& e = m_palette[std::clamp(m_nColorIndex, 0, 255)];
    f.setForeground(QColor(e.red, e.green, e.blue));
    f.setProperty(kColorIndexProperty, m_nColorIndex);
    f.setProperty(kCharsetProperty, m_cf.charset);
    return f;
}

void CTextInputDlg::ApplyFormat() {
    ReadCombos();
    const bool ready = m_bRenderReady;
    m_bRenderReady = false;
    Edit()->mergeCurrentCharFormat(QtFormat());
    m_bRenderReady = ready;
    m_bSettingsChanged = true;
}

bool CTextInputDlg::SelectionEmpty() const { return !Edit()->textCursor().hasSelection(); }

std::vector<TextChar> CTextInputDlg::ReadText() const {
    std::vector<TextChar> text;
    const QTextDocument* doc = Edit()->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block != doc->begin()) {
            TextChar lineEnd;
            lineEnd.code = U'\n';
            text.push_back(lineEnd);
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            TextChar c;
            const QStringList families = f.fontFamilies().toStringList();
            // What a character's format leaves open comes from the format
            // in use (the text box's default).
            c.font.face = families.isEmpty() ? m_cf.face : BoundedFaceName(families.first().toStdString());
            c.font.bold = f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() >= QFont::Bold : (m_cf.effects & 1);
            c.font.italic = f.hasProperty(QTextFormat::FontItalic) ? f.fontItalic() : (m_cf.effects & 2) != 0;
            c.heightTwips = f.fontPointSize() > 0 ? int(std::lround(f.fontPointSize() * 20.0)) : m_cf.heightTwips;
            c.font.height = c.heightTwips / 20;
            c.font.charset = f.hasProperty(kCharsetProperty) ? f.intProperty(kCharsetProperty) : m_cf.charset;
            if (!f.hasProperty(kColorIndexProperty) && !f.hasProperty(QTextFormat::ForegroundBrush)) {
                c.colorIndex = uint8_t(std::clamp(m_nColorIndex, 0, 255));
            } else if (f.hasProperty(kColorIndexProperty)) {
                c.colorIndex = uint8_t(std::clamp(f.intProperty(kColorIndexProperty), 0, 255));
            } else {
                const QColor color = f.foreground().color();
                c.colorIndex = uint8_t(NearestPaletteIndex(m_palette, m_nColors, uint8_t(color.blue()),
                                                           uint8_t(color.green()), uint8_t(color.red())));
            }
            for (char32_t code : fragment.text().toUcs4()) {
                c.code = code == 0x2028 || code == 0x2029 ? U'\n' : code;
                text.push_back(c);
            }
        }
    }
    return text;
}

void CTextInputDlg::RenderText() {
    if (m_bDocGone || !m_hWork || !m_pComposite) return;
    framework::WaitCursor wait;
    const bool ready = m_bRenderReady;
    m_bRenderReady = false;
    if (m_bSwapped && GlobalSwapBlocks(m_hLayer, m_hWork)) m_bSwapped = false;
    {
        MemLockGuard layer(m_hLayer);
        MemLockGuard work(m_hWork);
        if (layer && work && layer.size() == work.size()) {
            std::memcpy(work.get(), layer.get(), layer.size());
            CopyRgbPixels(m_pCompositeCopy, m_pComposite);
            std::fill(m_textMask.begin(), m_textMask.end(), 0);
            std::fill(m_chosen.begin(), m_chosen.end(), 0);
            RenderTarget target;
            target.width = m_width;
            target.height = m_height;
            target.layer = work.get() + LAYER_HEADER_SIZE;
            target.layerStride = (m_width + 3) & ~3;
            target.composite = m_pCompositeCopy;
            target.textMask = m_textMask.data();
            target.chosen = m_chosen.data();
            target.selection = m_masks.Selection();
            target.span = ToolRowSpanOf(m_pRecord, m_width, m_height);
            target.palette = m_palette;
            target.colors = m_nColors;
            TextLayout layout;
            layout.anchorX = m_pRecord->clickX ? *m_pRecord->clickX : 0;
            layout.anchorY = m_pRecord->clickY ? *m_pRecord->clickY : 0;
            layout.alignment = m_nAlignment;
            layout.charSpacing = int(m_fCharSpacing);
            layout.lineSpacing = int(m_fLineSpacing);
            layout.antiAlias = m_bAntiAlias != 0;
            m_text = ReadText();
            ::RenderText(*m_fonts, m_text, layout, target);
        }
    }
    m_nTick = 0;
    m_bPending = false;
    m_bSettingsChanged = false;
    m_bRenderReady = ready;
}

void CTextInputDlg::ApplyPreview() {
    if (m_bDocGone || !m_hWork) return;
    if (m_bPreview && !m_bSwapped) {
        if (GlobalSwapBlocks(m_hLayer, m_hWork)) m_bSwapped = true;
    } else if (!m_bPreview && m_bSwapped) {
        if (GlobalSwapBlocks(m_hLayer, m_hWork)) m_bSwapped = false;
    }
    WinSendMessage(m_hHostWnd, WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 1);
}

void CTextInputDlg::SetNumberText(int id, const QString& text) {
    const bool setting = m_bSettingControls;
    m_bSettingControls = true;
    SetDlgItemText(id, text);
    m_bSettingControls = setting;
}

void CTextInputDlg::OnNumberEdited(int id) {
    if (m_bSettingControls) return;
    const bool isSize = id == IDC_SIZE;
    QString& last = isSize ? m_strSize : id == IDC_SPACING_LINE ? m_strLineSpacing : m_strCharSpacing;
    float& value = isSize ? m_fSize : id == IDC_SPACING_LINE ? m_fLineSpacing : m_fCharSpacing;
    QString text = GetDlgItemText(id);
    float parsed = 0;
    const NumberText result = ParseNumberText(text.toStdString(), kMaxTextNumber, &parsed);
    if (result == NumberText::TooLarge) {
        const QString message = QStringLiteral(" 请输入 %1～%2 之间的数值").arg(isSize ? 1 : 0).arg(int(kMaxTextNumber));
        ShowMessageBox(WindowHandle(), message.toUtf8().constData(), "输入数值错误", MB_BTN_OK);
    }
    if (result != NumberText::Ok) {
        text = last;
        ParseNumberText(text.toStdString(), kMaxTextNumber, &parsed);
        SetNumberText(id, text);
    }
    if (isSize && parsed <= 0.0f) {
        text = QStringLiteral("1.0");
        parsed = 1.0f;
        SetNumberText(id, text);
    }
    value = parsed;
    if (text == last) {
        m_bSettingsChanged = false;
        return;
    }
    last = text;
    m_bSettingControls = true;
    const int spin = isSize ? IDC_SIZE_SPIN : id == IDC_SPACING_LINE ? IDC_LINE_SPIN : IDC_CHAR_SPIN;
    Item<QSpinBox>(spin)->setValue(int(value));
    m_bSettingControls = false;
    ApplyFormat();
    if (!isSize || !SelectionEmpty()) {
        if (m_bPreview) RenderText();
        ApplyPreview();
    }
}

void CTextInputDlg::OnSpin(int id) {
    if (m_bSettingControls) return;
    const int edit = id == IDC_SIZE_SPIN ? IDC_SIZE : id == IDC_LINE_SPIN ? IDC_SPACING_LINE : IDC_SPACING_CHAR;
    const float current = edit == IDC_SIZE ? m_fSize : edit == IDC_SPACING_LINE ? m_fLineSpacing : m_fCharSpacing;
    const int value = Item<QSpinBox>(id)->value();
    if (value == int(current)) return;
    SetDlgItemText(edit, QString::fromStdString(FormatTenths(float(value))));  // runs the edit's update
}

void CTextInputDlg::OnFaceChanged() {
    FillStyles();
    ApplyFormat();
    if (!SelectionEmpty()) {
        if (m_bPreview) RenderText();
        ApplyPreview();
    }
}

void CTextInputDlg::OnStyleChanged() {
    ApplyFormat();
    if (!SelectionEmpty()) {
        if (m_bPreview) RenderText();
        ApplyPreview();
    }
}

void CTextInputDlg::ShowTextColor() {
    auto* button = Item<QAbstractButton>(IDC_COLOR);
    if (!button) return;
    const PaletteEntry& e = m_palette[std::clamp(m_nColorIndex, 0, 255)];
    const QSize size = button->size() - QSize(10, 8);
    QPixmap swatch(size.expandedTo(QSize(1, 1)));
    swatch.fill(Qt::black);
    QPainter painter(&swatch);
    painter.fillRect(swatch.rect().adjusted(1, 1, -1, -1), QColor(e.red, e.green, e.blue));
    painter.end();
    button->setIconSize(swatch.size());
    button->setIcon(QIcon(swatch));
}

void CTextInputDlg::OnColorButton() {
    if (m_pRecord && m_pRecord->currentColor) m_nColorIndex = std::clamp(*m_pRecord->currentColor, 0, 255);
    ShowTextColor();
    ApplyFormat();
    if (!SelectionEmpty()) {
        if (m_bPreview) RenderText();
        ApplyPreview();
    }
}

void CTextInputDlg::OnAlignment() {
    const int checked = GetCheckedRadioButton(IDC_YOKO_LEFT, IDC_TATE_BOTTOM);
    if (!checked) return;
    const int alignment = checked - IDC_YOKO_LEFT;
    const bool changed = alignment != m_nAlignment;
    m_nAlignment = alignment;
    if (changed && m_bPreview) RenderText();
    ApplyPreview();
}

void CTextInputDlg::OnPreviewClicked() {
    m_bPreview = IsDlgButtonChecked(IDC_PREVIEW) ? 1 : 0;
    if (m_bPreview && m_bSettingsChanged) RenderText();
    ApplyPreview();
}

void CTextInputDlg::OnAntiAliasClicked() {
    m_bAntiAlias = IsDlgButtonChecked(IDC_ANTIALIAS) ? 1 : 0;
    m_bSettingsChanged = true;
    if (m_bPreview) RenderText();
    ApplyPreview();
}

void CTextInputDlg::OnTextChanged() {
    if (!m_bRenderReady || m_bDone) return;
    const int length = Edit()->document()->characterCount();
    m_bTextGrew = length > m_nTextLength;
    m_nTextLength = length;
    m_bSettingsChanged = true;
    if (m_bPreview) {
        if (m_nTick >= 10) {
            RenderText();
        } else {
            m_nTick = 0;
            m_bPending = true;
            SetTimer(1, 10);
        }
    }
    ApplyPreview();
}

void CTextInputDlg::OnSelectionChanged() {
    if (!m_bRenderReady || m_bDone || m_bSettingControls) return;
    const QTextCursor cursor = Edit()->textCursor();
    const QString selected = cursor.selectedText();
    if (selected == QString(QChar(0x2029))) {
        ApplyFormat();
        return;
    }
    const QTextCharFormat f = cursor.charFormat();
    const QStringList families = f.fontFamilies().toStringList();
    if (families.isEmpty() || f.fontPointSize() <= 0) return;
    m_bSettingControls = true;
    SelectFace(BoundedFaceName(families.first().toStdString()));
    const int effects = (f.fontWeight() >= QFont::Bold ? 1 : 0) | (f.fontItalic() ? 2 : 0);
    for (int i = 0; i < 4; ++i)
        if (kStyleEffects[i] == effects) Item<QComboBox>(IDC_STYLE)->setCurrentIndex(i);
    const int twips = int(std::lround(f.fontPointSize() * 20.0));
    m_fSize = float(twips) * 0.05f;
    SetNumberText(IDC_SIZE, QString::fromStdString(FormatTenths(m_fSize)));
    m_strSize = GetDlgItemText(IDC_SIZE);
    Item<QSpinBox>(IDC_SIZE_SPIN)->setValue(int(m_fSize));
    m_cf.face = BoundedFaceName(families.first().toStdString());
    m_cf.effects = effects;
    m_cf.heightTwips = twips;
    if (f.hasProperty(kCharsetProperty)) m_cf.charset = f.intProperty(kCharsetProperty);
    if (f.hasProperty(kColorIndexProperty)) m_nColorIndex = f.intProperty(kColorIndexProperty);
    ShowTextColor();
    m_bSettingControls = false;
}

void CTextInputDlg::OnTimer(int id) {
    if (id != 1) return;
    if (m_nTick > 9 && m_bPending) {
        RenderText();
        ApplyPreview();
    }
    ++m_nTick;
    SetTimer(1, 10);
}

void CTextInputDlg::End() {
    FreeWork();
    m_bDone = true;
    DestroyWindow();
}

void CTextInputDlg::OnOK() {
    if (m_bDone) return;
    const int previewBefore = m_bPreview;
    ReadCombos();
    RenderText();
    TextSettings s = CurrentSettings();
    s.preview = previewBefore;
    const std::string text = FormatTextSettings(s);
    WinSendMessage(m_hHostWnd, WM_PLUGIN_SETTINGS, reinterpret_cast<WinWParam>(text.c_str()),
                   PLUGIN_SETTINGS_WRITE_MOJI);
    m_bPreview = 1;
    ApplyPreview();
    WinSendMessage(m_hHostWnd, WM_PLUGIN_MODIFIED, 0, 0);
    if (m_pRecord) m_pRecord->imageChanged = 1;
    End();
}

void CTextInputDlg::OnCancel() {
    if (m_bDone) return;
    if (!m_bDocGone && m_bSwapped && GlobalSwapBlocks(m_hLayer, m_hWork)) m_bSwapped = false;
    if (!m_bDocGone) WinSendMessage(m_hHostWnd, WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 1);
    End();
}

void CTextInputDlg::OnDestroy() {
    KillTimer(1);
    WinSendMessage(m_hHostWnd, WM_PLUGIN_CLOSED, 0, 0);
    m_bDone = true;
}

WinResult CTextInputDlg::OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) {
    switch (message) {
    case WM_TOOL_CANVASCLICK:
        if (m_bDone || m_bDocGone) return 1;
        m_bSettingsChanged = true;
        if (m_bPreview) RenderText();
        ApplyPreview();
        return 1;
    case WM_TOOL_SETTINGS:
        LoadSettings(reinterpret_cast<const char*>(wparam));
        return 1;
    case WM_TOOL_DOCCLOSED:
        // The document's blocks go right after this: let go of the mask
        // now and end as Cancel without touching the layer.
        m_bDocGone = true;
        m_masks.Release();
        OnCancel();
        return 1;
    case kTimerMessage: OnTimer(int(wparam)); return 1;
    case kCloseMessage: OnCancel(); return 0;
    default: return Dialog::OnWindowMessage(message, wparam, lparam);
    }
}

void CTextInputDlg::DeclareCommands(framework::CommandTable& table) {
    using framework::Notify;
    for (int id : {IDC_SIZE, IDC_SPACING_LINE, IDC_SPACING_CHAR})
        table.OnNotify(id, Notify::Changed, [this, id] { OnNumberEdited(id); });
    for (int id : {IDC_SIZE_SPIN, IDC_LINE_SPIN, IDC_CHAR_SPIN})
        table.OnNotify(id, Notify::Changed, [this, id] { OnSpin(id); });
    table.OnNotify(IDC_FACE, Notify::SelChange, [this] { OnFaceChanged(); })
        .OnNotify(IDC_STYLE, Notify::SelChange, [this] { OnStyleChanged(); })
        .OnNotify(IDC_TEXT, Notify::Changed, [this] { OnTextChanged(); })
        .On(IDC_COLOR, [this] { OnColorButton(); })
        .On(IDC_PREVIEW, [this] { OnPreviewClicked(); })
        .On(IDC_ANTIALIAS, [this] { OnAntiAliasClicked(); });
    for (int id = IDC_YOKO_LEFT; id <= IDC_TATE_BOTTOM; ++id) table.On(id, [this] { OnAlignment(); });
    Dialog::DeclareCommands(table);
}
