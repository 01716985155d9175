// The tool palette's settings controls: the colour swatches and one panel
// per kind of tool, their cached values and the tool options read from them.
#include <algorithm>
#include <climits>

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>

#include "document/floating_selection.h"
#include "document/pelmark_doc.h"
#include "imaging/dib_access.h"
#include "palettes/palette_host.h"
#include "palettes/tool_palette.h"

namespace {

using toolpal::ControlKind;

// An owner-drawn button: painted by the palette, the presses go to the
// palette's client area beneath.
class Swatch : public QWidget {
public:
    Swatch(QWidget* parent, std::function<void(QPainter&, const QRect&)> paint)
        : QWidget(parent), paint_(std::move(paint)) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        paint_(p, rect());
    }

private:
    std::function<void(QPainter&, const QRect&)> paint_;
};

// The palette's font: 9-point "ＭＳ Ｐゴシック" where it exists, else the CJK
// font of the frame's status bars.
QFont paletteFont(QWidget* owner) {
    const QString preferred = QStringLiteral("ＭＳ Ｐゴシック");
    if (QFontDatabase::families().contains(preferred)) return QFont(preferred, 9);
    if (PaletteHost* host = PaletteHost::Of(owner)) return host->PaletteFont();
    return QFont();
}

QColor entryColor(MemHandle image, int index) {
    uint8_t r = 0, g = 0, b = 0;
    if (!GetDibPaletteEntry(image, index, &r, &g, &b, nullptr)) return Qt::black;
    return QColor(r, g, b);
}

void paintSwatch(QPainter& p, const QRect& r, const QColor& color) {
    p.fillRect(r, color);
    p.setPen(QColor(64, 64, 64));
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

}  // namespace

void CToolPalette::createControls() {
    const QFont font = paletteFont(owner_.data());
    QWidget* client = Client();
    for (const toolpal::ControlLayout& layout : toolpal::Controls()) {
        QWidget* w = nullptr;
        QRect r = layout.rect;
        switch (layout.kind) {
        case ControlKind::Frame: {
            auto* frame = new QFrame(client);
            frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
            w = frame;
            break;
        }
        case ControlKind::DropList: {
            auto* combo = new QComboBox(client);
            combo->setMaxVisibleItems(toolpal::kDropListPopup / 16);
            r.setHeight(toolpal::kDropListBox);
            const int id = layout.id;
            connect(combo, &QComboBox::currentIndexChanged, this, [this, id] {
                if (filling_) return;
                if (id == toolpal::kFillSource) showFillSource();
                applyLineEnabling();
            });
            w = combo;
            break;
        }
        case ControlKind::Label:
            w = new QLabel(QString::fromUtf8(layout.text ? layout.text : ""), client);
            break;
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(client);
            edit->setFrame(true);
            edit->setTextMargins(0, 0, 0, 0);
            w = edit;
            break;
        }
        case ControlKind::Check:
            w = new QCheckBox(QString::fromUtf8(layout.text), client);
            break;
        case ControlKind::Swatch: {
            const int id = layout.id;
            w = new Swatch(client, [this, id](QPainter& p, const QRect& rect) {
                if (id == toolpal::kFillPreview) paintPreview(p, rect);
                else paintSwatch(p, rect, id == toolpal::kDrawColorSwatch ? drawColor() : backColor());
            });
            break;
        }
        }
        w->setFont(font);
        w->setGeometry(r);
        w->setObjectName(QString::number(layout.id));
        w->hide();
        controls_[layout.id] = w;
        if (toolpal::HoldsValue(layout)) cache_[layout.id] = toolpal::StartValue(layout.id);
    }
    // Every control holds its value from the start, so that the tool options
    // read sound numbers from hidden panels too.
    for (toolpal::Panel panel : {toolpal::Panel::Selection, toolpal::Panel::Line, toolpal::Panel::Fill,
                                 toolpal::Panel::Outline, toolpal::Panel::Filled})
        FillSettingsPanel(panel);
    FillSettingsPanel(toolpal::Panel::None);
    for (int id : {401, 403, 405}) WriteControl(id, cache_[id]);
    for (int id : toolpal::ColorAreaControls()) Control(id)->show();
}

QWidget* CToolPalette::Control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second.data();
}

int CToolPalette::CachedSetting(int id) const {
    auto it = cache_.find(id);
    return it == cache_.end() ? 0 : it->second;
}

void CToolPalette::SetSetting(int id, int value) {
    if (!cache_.count(id)) return;
    cache_[id] = value;
    const bool wasFilling = filling_;
    filling_ = true;
    if (auto* combo = qobject_cast<QComboBox*>(Control(id))) {
        if (value >= 0 && value < combo->count()) combo->setCurrentIndex(value);
    } else if (auto* check = qobject_cast<QCheckBox*>(Control(id))) {
        check->setChecked(value != 0);
    } else {
        WriteControl(id, value);
    }
    filling_ = wasFilling;
    if (id == toolpal::kFillSource)
        if (PaletteHost* h = host()) h->ToolSettings().SetFillSource(value);
}

std::optional<int> CToolPalette::ReadControl(int controlId) {
    QWidget* w = Control(controlId);
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        int index = combo->currentIndex();
        return index >= 0 ? std::optional<int>(index) : std::nullopt;
    }
    if (auto* check = qobject_cast<QCheckBox*>(w)) return check->isChecked() ? 1 : 0;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        // As the number is read from a field: leading blanks and a sign, then
        // digits up to the first other character.
        const QString text = edit->text().trimmed();
        qsizetype end = 0;
        if (end < text.size() && (text[end] == u'-' || text[end] == u'+')) ++end;
        while (end < text.size() && text[end].isDigit()) ++end;
        bool ok = false;
        long long value = text.left(end).toLongLong(&ok);
        if (!ok) return std::nullopt;
        return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
    }
    return std::nullopt;
}

void CToolPalette::WriteControl(int controlId, int value) {
    if (auto* edit = qobject_cast<QLineEdit*>(Control(controlId))) edit->setText(QString::number(value));
}

void CToolPalette::SaveSettings() {
    for (auto& [id, value] : cache_) {
        std::optional<int> read = ReadControl(id);
        if (!read) continue;
        int clamped = *read;
        // The fields are clamped as the tool options clamp them.
        for (int index = 0; index < kToolOptionCount; ++index) {
            const ToolOptions::Rule& rule = ToolOptions::RuleOf(index);
            if (rule.control != id) continue;
            clamped = std::clamp(clamped, rule.min, rule.max);
            if (rule.kind == ToolOptions::Kind::Edit && clamped != *read) WriteControl(id, clamped);
        }
        value = clamped;
    }
    if (PaletteHost* h = host()) h->ToolSettings().SetFillSource(cache_[toolpal::kFillSource]);
}

void CToolPalette::FillSettingsPanel(toolpal::Panel panel) {
    filling_ = true;
    for (int id : toolpal::PanelControls(panel)) {
        const toolpal::ControlLayout* layout = toolpal::FindControl(id);
        QWidget* w = Control(id);
        if (!layout || !w) continue;
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            combo->clear();
            for (const char* item : layout->items) combo->addItem(QString::fromUtf8(item));
            int value = cache_[id];
            combo->setCurrentIndex(value >= 0 && value < combo->count() ? value : -1);
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            if (layout->text) label->setText(QString::fromUtf8(layout->text));
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            check->setChecked(cache_[id] != 0);
        } else if (qobject_cast<QLineEdit*>(w)) {
            WriteControl(id, cache_[id]);
        }
    }
    filling_ = false;
    if (panel == toolpal::Panel::Line) applyLineEnabling();
    if (panel == toolpal::Panel::Fill) {
        Control(toolpal::kFeatherEdge)->setEnabled(true);
        showFillSource();
    }
}

bool CToolPalette::ShowToolSettings(int toolIndex) {
    if (toolIndex == -1 || toolIndex == settingsTool_) return false;
    SaveSettings();
    for (auto& [id, w] : controls_)
        if (w) w->hide();
    for (int id : toolpal::ColorAreaControls()) Control(id)->show();
    const toolpal::Panel panel = toolpal::PanelOfTool(toolIndex);
    for (int id : toolpal::PanelControls(panel)) Control(id)->show();
    FillSettingsPanel(panel);
    settingsTool_ = toolIndex;
    RefreshCurrentTool();
    return true;
}

void CToolPalette::applyLineEnabling() {
    const toolpal::LineEnabling on = toolpal::LinePanelEnabling(ReadControl(toolpal::kLineType).value_or(cache_[toolpal::kLineType]),
                                                                ReadControl(toolpal::kLineStyle).value_or(cache_[toolpal::kLineStyle]));
    Control(toolpal::kLineStyle)->setEnabled(on.style);
    for (int id = 416; id <= 419; ++id) Control(id)->setEnabled(on.dash);
}

void CToolPalette::showFillSource() {
    const int source = ReadControl(toolpal::kFillSource).value_or(cache_[toolpal::kFillSource]);
    const toolpal::ControlLayout* layout = toolpal::FindControl(toolpal::kFillSource);
    QString name = source >= 0 && size_t(source) < layout->items.size() ? QString::fromUtf8(layout->items[size_t(source)]) : QString();
    static_cast<QLabel*>(Control(toolpal::kFillSourceName))->setText(name);
    if (source != cache_[toolpal::kFillSource]) {
        cache_[toolpal::kFillSource] = source;
        if (PaletteHost* h = host()) h->ToolSettings().SetFillSource(source);
    }
    Control(toolpal::kFillPreview)->update();
}

void CToolPalette::RunTimerSteps() {
    applyLineEnabling();
    backPresses_ = selectPresses_ = penPresses_ = 0;
    penPressButton_ = -1;
    CPelmarkDoc* doc = activeDoc();
    if (doc && doc->m_nToolId == tools::kFillTool) {
        std::optional<int> source = ReadControl(toolpal::kFillSource);
        if (source && *source != cache_[toolpal::kFillSource]) showFillSource();
    }
}

// Swatches ------------------------------------------------------------------------

QColor CToolPalette::drawColor() const {
    CPelmarkDoc* doc = activeDoc();
    return doc && doc->m_hImage ? entryColor(doc->m_hImage, doc->m_nColor) : QColor(Qt::black);
}

QColor CToolPalette::backColor() const {
    CPelmarkDoc* doc = activeDoc();
    return doc && doc->m_hImage ? entryColor(doc->m_hImage, 0) : QColor(Qt::black);
}

void CToolPalette::paintPreview(QPainter& p, const QRect& r) const {
    CPelmarkDoc* doc = activeDoc();
    if (cache_.at(toolpal::kFillSource) != 1 || !doc || !doc->m_hImage) {
        paintSwatch(p, r, drawColor());
        return;
    }
    // The 48 x 48 pattern through the document's palette.
    const document::SelectionPattern& pattern = document::GetSelectionPattern();
    constexpr int n = document::SelectionPattern::kSize;
    std::array<QRgb, 256> colors;
    for (int i = 0; i < 256; ++i) colors[size_t(i)] = entryColor(doc->m_hImage, i).rgb();
    QImage image(n, n, QImage::Format_RGB32);
    // Row 0 of the table is the pattern's bottom row.
    for (int y = 0; y < n; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < n; ++x) line[x] = colors[pattern.table[size_t((n - 1 - y) * n + x)]];
    }
    p.drawImage(r.topLeft(), image);
}
