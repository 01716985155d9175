#include "plugins/cinereel/ca_wnd.h"

#include <memory>

#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWindow>

#include "framework/support_file_dialog.h"
#include "platform/message_box.h"
#include "platform/safe_save.h"
#include "plugin_api/anim_can_file.h"
#include "platform/window_qt.h"
#include "plugins/cinereel/ca_bars.h"
#include "plugins/cinereel/ca_frame_list_box.h"
#include "plugins/cinereel/ca_sheet.h"
#include "plugins/cinereel/frame_place.h"
#include "plugins/cinereel/ca_view.h"
#include "plugins/cinereel/cinereel_messages.h"
#include "plugins/cinereel/cinereel_run.h"
#include "plugins/cinereel/gif_output.h"
#include "plugins/cinereel/preview_play.h"
#include "plugins/cinereel/list_file.h"
#include "plugins/loopcast/gif_tree.h"

using framework::Notify;

namespace {

constexpr int kEditIds[] = {IDC_CELL_WIDTH, IDC_CELL_HEIGHT, IDC_FRAME_DELAY, IDC_RANGE_X, IDC_RANGE_Y,
                            IDC_RANGE_WIDTH, IDC_RANGE_HEIGHT, IDC_RANGE_DELAY};

// The spin of an edit, or 0.
int SpinOf(int editId) {
    switch (editId) {
    case IDC_CELL_WIDTH: return IDC_CELL_WIDTH_SPIN;
    case IDC_CELL_HEIGHT: return IDC_CELL_HEIGHT_SPIN;
    case IDC_RANGE_X: return IDC_RANGE_X_SPIN;
    case IDC_RANGE_Y: return IDC_RANGE_Y_SPIN;
    case IDC_RANGE_WIDTH: return IDC_RANGE_WIDTH_SPIN;
    case IDC_RANGE_HEIGHT: return IDC_RANGE_HEIGHT_SPIN;
    default: return 0;
    }
}

constexpr int kMinEditorWidth = 680;
constexpr int kBarWidth = 330;
constexpr int kMaxEditorHeight = 580;

}  // namespace

CaDoc::CaDoc(const PluginToolInfo& info, const PluginToolRecord* record)
    : m_pSheet(new CaSheet(info, record)) {}

CaDoc::~CaDoc() { delete m_pSheet; }

CaWnd::CaWnd(WinHandle hostWindow, PluginToolRecord* record, PluginToolInfo* info)
    : QWidget(nullptr, Qt::Window), MessageWindow(this), m_hHostWnd(hostWindow),
      m_pHostWidget(platform::WinWidget(hostWindow)), m_Info(info ? *info : PluginToolInfo{}),
      m_pRecord(record), m_strDocName(record && record->path ? record->path : "") {
    setObjectName(QStringLiteral("CaWnd"));
    setWindowTitle(QStringLiteral("生成动画"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    if (m_pHostWidget) {
        winId();
        if (QWindow* host = m_pHostWidget->window()->windowHandle())
            windowHandle()->setTransientParent(host);
    }
}

CaWnd::~CaWnd() = default;

CaSheet* CaWnd::Sheet() const { return m_pDoc ? m_pDoc->m_pSheet : nullptr; }

int CaWnd::send(WinHandle to, uint32_t message, WinWParam wparam, WinLParam lparam) {
    return int(WinSendMessage(to, message, wparam, lparam));
}

bool CaWnd::Create() {
    WindowHandle();
    m_pDoc = std::make_unique<CaDoc>(m_Info, m_pRecord);
    m_pView = new CaView(this, this);
    m_pEditBar = new CaBar(16016, [this](framework::CommandTable& t) { declareEditBar(t); }, this);
    m_pListBox = new CaFrameListBox;
    m_pListBox->Attach(Sheet(), WindowHandle());
    connect(m_pListBox, &CaFrameListBox::multiSelChanged, this, [this] { EnableModeControls(); });
    CreateEditBarControls(*m_pEditBar, m_pListBox);
    // The list tells its bar of the user's selection changes only.
    QObject::disconnect(m_pListBox, &QListWidget::currentRowChanged, m_pEditBar, nullptr);
    connect(m_pListBox, &CaFrameListBox::selectionChangedByUser, m_pEditBar,
            [this] { m_pEditBar->NotifyControl(IDC_FRAME_LIST, Notify::SelChange); });
    m_pZoomBar = new CaBar(16017, [this](framework::CommandTable& t) { declareZoomBar(t); }, this);
    CreateZoomBarControls(*m_pZoomBar);
    if (!m_pEditBar->Create(this) || !m_pZoomBar->Create(this)) return false;

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_pZoomBar);
    auto* row = new QHBoxLayout;
    row->addWidget(m_pView, 1);
    row->addWidget(m_pEditBar);
    column->addLayout(row, 1);

    m_pView->SetSheet(Sheet());
    initEditBar();
    m_pListBox->setFocus();
    return true;
}

void CaWnd::initEditBar() {
    CaSheet* sheet = Sheet();
    m_nCellWidth = m_nCellHeight = 32;
    m_nFrameDelay = kDefaultDelay;
    m_nRangeX = m_nRangeY = m_nRangeWidth = m_nRangeHeight = 0;
    m_nRangeDelay = kDefaultDelay;
    m_pListBox->UnpackAnimTable(*m_pRecord, sheet->m_Frames);
    m_nBasePos = 0;
    sheet->m_nBasePos = 0;
    m_pZoomBar->CheckRadioButton(IDC_ZOOM_FIRST, IDC_ZOOM_LAST, IDC_ZOOM_FIRST);
    m_pZoomBar->SetDlgItemText(IDC_FILE_NAME, QString::fromUtf8(m_strDocName.c_str()));
    for (int spin : {IDC_CELL_WIDTH_SPIN, IDC_CELL_HEIGHT_SPIN})
        if (auto* s = m_pEditBar->Item<QScrollBar>(spin)) s->setRange(1, kMaxCellSize);
    for (int spin : {IDC_RANGE_WIDTH_SPIN, IDC_RANGE_HEIGHT_SPIN})
        if (auto* s = m_pEditBar->Item<QScrollBar>(spin)) s->setRange(0, kMaxCellSize);
    if (auto* s = m_pEditBar->Item<QScrollBar>(IDC_RANGE_X_SPIN)) s->setRange(0, sheet->m_nWidth);
    if (auto* s = m_pEditBar->Item<QScrollBar>(IDC_RANGE_Y_SPIN)) s->setRange(0, sheet->m_nHeight);
    m_nMode = 1;
    writeAllFields();
    // The host answers with WM_TOOL_GRIDSIZE during the call.
    send(m_hHostWnd, WM_PLUGIN_GETGRID, WinWParam(WindowHandle()), 0);
    m_pEditBar->CheckRadioButton(kBasePositionIds[0], kBasePositionIds[0], kBasePositionIds[0]);
    m_pEditBar->CheckRadioButton(IDC_MODE_FRAME, IDC_MODE_RANGE, IDC_MODE_RANGE);
    m_pView->SetCellRect(m_nCellWidth, m_nCellHeight);
    m_pView->SetRange({m_nRangeX, m_nRangeY, m_nRangeWidth, m_nRangeHeight});
    m_pView->SetMode(m_nMode);
    EnableModeControls();
}

int& CaWnd::editValue(int id) {
    switch (id) {
    case IDC_CELL_WIDTH: return m_nCellWidth;
    case IDC_CELL_HEIGHT: return m_nCellHeight;
    case IDC_FRAME_DELAY: return m_nFrameDelay;
    case IDC_RANGE_X: return m_nRangeX;
    case IDC_RANGE_Y: return m_nRangeY;
    case IDC_RANGE_WIDTH: return m_nRangeWidth;
    case IDC_RANGE_HEIGHT: return m_nRangeHeight;
    default: return m_nRangeDelay;
    }
}

std::pair<int, int> CaWnd::editRange(int id) const {
    const int w = Sheet() ? Sheet()->m_nWidth : 0, h = Sheet() ? Sheet()->m_nHeight : 0;
    switch (id) {
    case IDC_CELL_WIDTH: return {1, std::max(1, std::min(kMaxCellSize, w))};
    case IDC_CELL_HEIGHT: return {1, std::max(1, std::min(kMaxCellSize, h))};
    case IDC_RANGE_X: return {0, std::max(0, w - m_nRangeWidth)};
    case IDC_RANGE_Y: return {0, std::max(0, h - m_nRangeHeight)};
    case IDC_RANGE_WIDTH: return {0, std::max(0, std::min(kMaxCellSize, w - m_nRangeX))};
    case IDC_RANGE_HEIGHT: return {0, std::max(0, std::min(kMaxCellSize, h - m_nRangeY))};
    default: return {1, kMaxDelay};
    }
}

void CaWnd::writeField(int id, int value) {
    m_pEditBar->SetDlgItemInt(id, value);
}

void CaWnd::writeAllFields() {
    m_bWriting = true;
    for (int id : kEditIds) {
        m_pEditBar->SetDlgItemInt(id, editValue(id));
        m_Accepted[id] = std::to_string(editValue(id));
        if (auto* spin = m_pEditBar->Item<QScrollBar>(SpinOf(id))) {
            QSignalBlocker quiet(spin);
            spin->setValue(editValue(id));
        }
    }
    m_bWriting = false;
}

void CaWnd::ShowRange(const cinereel::RangeFields& range) {
    m_nRangeX = range.x;
    m_nRangeY = range.y;
    m_nRangeWidth = range.width;
    m_nRangeHeight = range.height;
    writeAllFields();
}

void CaWnd::onEditChanged(int id) {
    if (m_bWriting) return;
    std::string text = m_pEditBar->GetDlgItemText(id).toStdString();
    auto [lo, hi] = editRange(id);
    cinereel::EditRuleResult r = cinereel::ApplyEditRule(text, m_Accepted[id], editValue(id), lo, hi);
    if (r.writeBack) {
        m_bWriting = true;
        m_pEditBar->SetDlgItemText(id, QString::fromStdString(*r.writeBack));
        m_bWriting = false;
    }
    if (!r.accepted) return;
    m_Accepted[id] = r.writeBack ? *r.writeBack : text;
    editValue(id) = r.value;
    applyEdit(id);
}

void CaWnd::onEditKillFocus(int id) {
    if (!m_pEditBar->GetDlgItemText(id).isEmpty()) return;
    writeField(id, editRange(id).first);
}

void CaWnd::onSpin(int editId) {
    auto* spin = m_pEditBar->Item<QScrollBar>(SpinOf(editId));
    if (!spin || m_bWriting) return;
    auto [lo, hi] = editRange(editId);
    writeField(editId, std::clamp(spin->value(), lo, hi));
}

void CaWnd::applyEdit(int id) {
    if (auto* spin = m_pEditBar->Item<QScrollBar>(SpinOf(id))) {
        QSignalBlocker quiet(spin);
        spin->setValue(editValue(id));
    }
    switch (id) {
    case IDC_CELL_WIDTH:
    case IDC_CELL_HEIGHT: m_pView->SetCellRect(m_nCellWidth, m_nCellHeight); break;
    case IDC_RANGE_X:
    case IDC_RANGE_Y:
    case IDC_RANGE_WIDTH:
    case IDC_RANGE_HEIGHT: m_pView->SetRange({m_nRangeX, m_nRangeY, m_nRangeWidth, m_nRangeHeight}); break;
    default: RegisterFrames(false); break;
    }
}

void CaWnd::declareEditBar(framework::CommandTable& t) {
    t.On(IDC_FINISH, [this] { OnFinish(); })
        .On(IDC_RESET, [this] { OnReset(); })
        .On(IDC_PREVIEW, [this] { OnPreview(); })
        .On(IDC_SAVE_LIST, [this] { OnSaveList(); })
        .On(IDC_LOAD_LIST, [this] { OnLoadList(); })
        .On(IDC_WRITE_GIF, [this] { OnOutputGif(); })
        .On(IDC_REGISTER_AS_IS, [this] { registerRange(false); })
        .On(IDC_REGISTER_FILLED, [this] { registerRange(true); })
        .On(IDC_MODE_FRAME, [this] { onModeRadio(0); })
        .On(IDC_MODE_RANGE, [this] { onModeRadio(1); })
        .On(IDC_REPEAT, [this] { m_bRepeat = m_pEditBar->IsDlgButtonChecked(IDC_REPEAT) == 1; })
        .On(IDC_INTERLACE, [this] { m_bInterlace = m_pEditBar->IsDlgButtonChecked(IDC_INTERLACE) == 1; })
        .On(IDC_TRANSPARENT,
            [this] { m_bTransparent = m_pEditBar->IsDlgButtonChecked(IDC_TRANSPARENT) == 1; })
        .OnNotify(IDC_FRAME_LIST, Notify::SelChange, [this] { OnListSelChange(); });
    for (int i = 0; i < 9; ++i)
        t.On(kBasePositionIds[i], [this, i] {
            m_nBasePos = i;
            if (CaSheet* sheet = Sheet()) sheet->m_nBasePos = i;
        });
    for (int id : kEditIds) {
        t.OnNotify(id, Notify::Changed, [this, id] { onEditChanged(id); });
        t.OnNotify(id, Notify::KillFocus, [this, id] { onEditKillFocus(id); });
        if (int spin = SpinOf(id)) t.OnNotify(spin, Notify::Scroll, [this, id] { onSpin(id); });
    }
}

void CaWnd::declareZoomBar(framework::CommandTable& t) {
    for (int i = 0; i < 6; ++i)
        t.On(IDC_ZOOM_FIRST + i,
             [this, i] { m_pView->SendWindowMessage(WM_ANIM_ZOOM, WinWParam(kZooms[i]), 0); });
}

void CaWnd::onModeRadio(int mode) {
    if (m_nMode == mode) return;
    m_nMode = mode;
    m_pView->SetMode(mode);
    EnableModeControls();
}

void CaWnd::EnableModeControls() {
    const bool frame = m_nMode == 0;
    const bool single = m_pListBox->m_nMultiSel == 0;
    for (int id : {IDC_CELL_WIDTH, IDC_CELL_HEIGHT, IDC_CELL_WIDTH_SPIN, IDC_CELL_HEIGHT_SPIN})
        m_pEditBar->EnableDlgItem(id, frame && single);
    m_pEditBar->EnableDlgItem(IDC_FRAME_DELAY, frame);
    for (int id : {IDC_RANGE_X, IDC_RANGE_Y, IDC_RANGE_WIDTH, IDC_RANGE_HEIGHT, IDC_RANGE_X_SPIN,
                   IDC_RANGE_Y_SPIN, IDC_RANGE_WIDTH_SPIN, IDC_RANGE_HEIGHT_SPIN, IDC_REGISTER_FILLED,
                   IDC_REGISTER_AS_IS})
        m_pEditBar->EnableDlgItem(id, !frame && single);
    m_pEditBar->EnableDlgItem(IDC_RANGE_DELAY, !frame);
    for (int id : kBasePositionIds) m_pEditBar->EnableDlgItem(id, !frame);
}

void CaWnd::RegisterFrames(bool geometry) {
    CaSheet* sheet = Sheet();
    std::vector<int> rows = m_pListBox->SelectedRows();
    if (!sheet || rows.empty()) return;
    const int caret = std::min(m_pListBox->CaretRow(), kSheetFrames - 1);
    SheetFrame* frames = sheet->m_Frames;
    if (m_nMode == 1) {
        if (geometry && caret >= 0 && m_nRangeWidth != 0 && m_nRangeHeight != 0) {
            SheetFrame& f = frames[caret];
            f.left = m_nRangeX;
            f.top = m_nRangeY;
            f.right = m_nRangeX + m_nRangeWidth;
            f.bottom = m_nRangeY + m_nRangeHeight;
        }
        for (int row : rows) frames[row].delay = m_nRangeDelay;
    } else {
        if (geometry && caret >= 0) {
            if (auto cell = m_pView->SelectedCellFrame()) {
                SheetFrame& f = frames[caret];
                f.left = cell->left;
                f.top = cell->top;
                f.right = cell->right;
                f.bottom = cell->bottom;
                f.layer = 0;
            }
        }
        for (int row : rows) frames[row].delay = m_nFrameDelay;
    }
    if (caret >= 0) rows.push_back(caret);
    m_pListBox->RewriteRows(frames, rows);
    send(m_hPreview, WM_ANIM_FRAMESCHANGED, 0, WinLParam(sheet));
}

void CaWnd::SelectNextRow(bool reload) {
    std::vector<int> rows = m_pListBox->SelectedRows();
    if (rows.empty() || rows.back() == kSheetFrames - 1) return;
    m_pListBox->SelectOnly(rows.back() + 1);
    if (!reload) OnListSelChange();
}

void CaWnd::OnListSelChange() {
    std::vector<int> rows = m_pListBox->SelectedRows();
    m_pListBox->m_nMultiSel = cinereel::MultiSelectionState(rows);
    EnableModeControls();
    CaSheet* sheet = Sheet();
    if (rows.empty() || !sheet) return;
    const SheetFrame& f = sheet->m_Frames[rows.back()];
    m_nRangeX = f.left;
    m_nRangeY = f.top;
    m_nRangeWidth = f.right - f.left;
    m_nRangeHeight = f.bottom - f.top;
    m_nRangeDelay = m_nFrameDelay = f.delay;
    writeAllFields();
    if (m_nMode == 1) m_pView->SetRange({m_nRangeX, m_nRangeY, m_nRangeWidth, m_nRangeHeight});
    send(m_hPreview, WM_ANIM_SELECTFRAME, WinWParam(rows.back()), 0);
}

void CaWnd::registerRange(bool trim) {
    if (m_nMode != 1) return;
    if (trim) {
        CaSheet* sheet = Sheet();
        cinereel::RangeFields range{m_nRangeX, m_nRangeY, m_nRangeWidth, m_nRangeHeight};
        cinereel::RangeFields trimmed{std::clamp(range.x, 0, sheet->m_nWidth),
                                      std::clamp(range.y, 0, sheet->m_nHeight), 0, 0};
        sheet->WithLayer0([&](const uint8_t* bits) {
            trimmed = cinereel::TrimRange(range, sheet->m_nWidth, sheet->m_nHeight, [&](int x, int y) {
                return bits[size_t(sheet->m_nHeight - 1 - y) * size_t(sheet->m_nStride) + size_t(x)] != 0;
            });
        });
        ShowRange(trimmed);
        m_pView->SetRange(trimmed);
    }
    RegisterFrames(true);
    SelectNextRow(true);
}

void CaWnd::OnReset() {
    if (ShowMessageBox(WindowHandle(), "确实要重置吗?", "重置", MB_BTN_OKCANCEL) != MB_ANSWER_OK) return;
    m_nRangeX = m_nRangeY = m_nRangeWidth = m_nRangeHeight = 0;
    m_nRangeDelay = kDefaultDelay;
    writeAllFields();
    m_pView->SetRange({});
    m_pListBox->ResetList(Sheet()->m_Frames);
    send(m_hPreview, WM_ANIM_FRAMESCHANGED, 1, WinLParam(Sheet()));
}

namespace {

constexpr char kListFilter[] = "Kvt 动画 (*.can)     | *.can|";
constexpr char kLoadFailed[] = "读取 CAN 动化文件失败。";
constexpr char kSaveFailed[] = "保存 CAN 动化文件失败。";
constexpr char kGifFilter[] = "Gif 动画 (*.GIF)     | *.GIF|";
constexpr char kGifFailed[] = "输出 GIF 动画失败。";

// The list file prompt; the chosen path, or empty after Cancel. The texts
// are built at run time: a recorded request outlives this library.
QString AskListFile(bool open, QWidget* parent) {
    unsigned flags = dialogs::OFN_HIDEREADONLY |
                     (open ? dialogs::OFN_FILEMUSTEXIST : dialogs::OFN_OVERWRITEPROMPT);
    dialogs::CSupportFileDialog dialog(open, QString::fromLatin1("CAN"), QString::fromLatin1("*.CAN"), flags,
                                       dialogs::ParseFilterString(QString::fromUtf8(kListFilter)), parent);
    if (dialog.DoModal() != framework::IDOK) return {};
    return dialog.GetPathName();
}

}  // namespace

void CaWnd::OnSaveList() {
    CaSheet* sheet = Sheet();
    if (!sheet || !cinereel::AnyFrameInUse(sheet->m_Frames)) return;
    QString path = AskListFile(false, this);
    if (path.isEmpty()) return;
    const std::string bytes = cinereel::ListFileBytes(sheet->m_Frames);
    if (!platform::SaveFileSafely(QFile::encodeName(path).toStdString(), bytes))
        ShowMessageBox(WindowHandle(), kSaveFailed, "错误", MB_BTN_OK | MB_ICON_ERROR);
}

void CaWnd::OnLoadList() {
    CaSheet* sheet = Sheet();
    if (!sheet) return;
    QString path = AskListFile(true, this);
    if (path.isEmpty()) return;
    std::string bytes;
    if (!can_file::ReadWholeFile(path.toLocal8Bit().constData(), bytes) ||
        !cinereel::ReadListFile(bytes, sheet->m_Frames)) {
        ShowMessageBox(WindowHandle(), kLoadFailed, "错误", MB_BTN_OK | MB_ICON_ERROR);
        return;
    }
    m_pListBox->RebuildAll(sheet->m_Frames);
}

void CaWnd::OnOutputGif() {
    CaSheet* sheet = Sheet();
    if (!sheet || m_bDocGone) return;
    cinereel::GifOptions options;
    options.loop = m_pEditBar->IsDlgButtonChecked(IDC_REPEAT) == 1;
    options.transparent = m_pEditBar->IsDlgButtonChecked(IDC_TRANSPARENT) == 1;
    options.interlace = m_pEditBar->IsDlgButtonChecked(IDC_INTERLACE) == 1;
    if (cinereel::Recount(sheet->m_Frames).frames.empty()) return;
    GifFile* built = nullptr;
    cinereel::GifBuild result = cinereel::GifBuild::NoMemory;
    {
        MemLockGuard image(m_Info.image);
        if (!image) return;
        cinereel::GifSource source{image.get(), image.size(), nullptr, sheet->m_nStride, sheet->m_nWidth,
                                   sheet->m_nHeight};
        if (!sheet->WithLayer0([&](const uint8_t* bits) {
                source.bits = bits;
                result = cinereel::BuildAnimGif(sheet->m_Frames, sheet->m_nBasePos, source, options, &built);
            }))
            return;
    }
    std::unique_ptr<GifFile, void (*)(GifFile*)> tree(built, GifFreeFile);
    if (result == cinereel::GifBuild::NoFrames) return;
    if (result != cinereel::GifBuild::Ok) {
        ShowMessageBox(WindowHandle(), kGifFailed, "错误", MB_BTN_OK | MB_ICON_ERROR);
        return;
    }
    dialogs::CSupportFileDialog dialog(false, QString::fromLatin1("Gif"), QString::fromLatin1("*.GIF"),
                                       dialogs::OFN_HIDEREADONLY | dialogs::OFN_OVERWRITEPROMPT,
                                       dialogs::ParseFilterString(QString::fromUtf8(kGifFilter)), this);
    if (dialog.DoModal() != framework::IDOK) return;
    if (!cinereel::WriteAnimGif(dialog.GetPathName().toLocal8Bit().constData(), tree.get()))
        ShowMessageBox(WindowHandle(), kGifFailed, "错误", MB_BTN_OK | MB_ICON_ERROR);
}

void CaWnd::OnPreview() {
    send(m_hPreview, WM_ANIM_SHOWPREVIEW, 0, WinLParam(Sheet()));
    m_bPreviewShown = true;
    if (QWidget* preview = platform::WinWidget(m_hPreview)) preview->activateWindow();
    send(m_hHostWnd, WM_PLUGIN_ANIMSTATE, 1, 1);
}

void CaWnd::OpenEditor() {
    QScreen* screen = m_pHostWidget ? m_pHostWidget->screen() : QGuiApplication::primaryScreen();
    QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    int width = kMinEditorWidth;
    {
        MemLockGuard image(m_bDocGone ? nullptr : m_Info.image);
        if (image && image.size() >= sizeof(DibInfoHeader)) {
            DibInfoHeader h;
            std::memcpy(&h, image.get(), sizeof h);
            width = h.width + kBarWidth;
            width = work.width() < width ? work.width() : std::max(width, kMinEditorWidth);
        }
    }
    const int height = std::min(kMaxEditorHeight, work.height());
    // The frame, caption and all, at the top left of the work area, so that
    // the caption and its buttons stay reachable.
    PlaceFrame(this, work.topLeft(), QSize(width, height), m_pHostWidget);
    m_pView->UpdateScrollSize();
    show();
    raise();
    activateWindow();
    send(m_hPreview, WM_ANIM_OPENEDITOR);
    send(m_hHostWnd, WM_PLUGIN_ANIMSTATE, 1, m_bPreviewShown ? 1 : 0);
    send(m_hHostWnd, WM_PLUGIN_ENABLEHOST, 0, 0);
}

void CaWnd::OnFinish() {
    if (m_bFinished) return;
    send(m_hHostWnd, WM_PLUGIN_ENABLEHOST, 0, 1);
    if (m_bPreviewShown) {
        send(m_hPreview, WM_ANIM_EDITORHIDDEN);
        hide();
        send(m_hHostWnd, WM_PLUGIN_ANIMSTATE, 0, 1);
        return;
    }
    send(m_hPreview, WM_ANIM_CLOSEPREVIEW);
    CaFrameListBox::PackAnimTable(*m_pRecord, Sheet()->m_Frames);
    send(m_hHostWnd, WM_PLUGIN_STOREANIMTABLE);
    send(m_hHostWnd, WM_PLUGIN_CLOSED);
    send(m_hHostWnd, WM_PLUGIN_ANIMSTATE, 0, 0);
    destroyEditor();
}

void CaWnd::finishWithTable() {
    if (m_bFinished) return;
    CaFrameListBox::PackAnimTable(*m_pRecord, Sheet()->m_Frames);
    send(m_hHostWnd, WM_PLUGIN_STOREANIMTABLE);
    send(m_hHostWnd, WM_PLUGIN_ANIMSTATE, 0, 0);
    destroyEditor();
}

void CaWnd::destroyEditor() {
    m_bFinished = true;
    hide();
    ReleaseHandle();
    NotifyRunLoop();
}

void CaWnd::onDocumentClosed() {
    if (m_bFinished) return;
    // The document and its blocks are gone: nothing more is read or handed
    // back; the host gets its windows back if the editor held them.
    m_bDocGone = true;
    if (isVisible()) send(m_hHostWnd, WM_PLUGIN_ENABLEHOST, 0, 1);
    send(m_hPreview, WM_ANIM_CLOSEPREVIEW);
    destroyEditor();
}

void CaWnd::closeEvent(QCloseEvent* event) {
    event->ignore();
    OnFinish();
}

WinResult CaWnd::OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) {
    if (m_bDocGone && message != WM_CLOSE_WINDOW) return 0;
    switch (message) {
    case WM_CLOSE_WINDOW: OnFinish(); return 0;
    case WM_ANIM_OPENEDITOR: OpenEditor(); return 1;
    case WM_ANIM_PREVIEWHIDDEN:
        m_bPreviewShown = false;
        raise();
        activateWindow();
        send(m_hHostWnd, WM_PLUGIN_ANIMSTATE, 1, 0);
        return 1;
    case WM_ANIM_PREVIEWFINISH: finishWithTable(); return 1;
    case WM_TOOL_GRIDSIZE: {
        auto [lo, hiW] = editRange(IDC_CELL_WIDTH);
        int hiH = editRange(IDC_CELL_HEIGHT).second;
        m_nCellWidth = std::clamp(int(wparam), lo, hiW);
        m_nCellHeight = std::clamp(int(lparam), lo, hiH);
        writeAllFields();
        m_pView->SetCellRect(m_nCellWidth, m_nCellHeight);
        return 1;
    }
    case WM_TOOL_SHOWANIM:
        if (wparam == 0 && lparam == 0) OnFinish();
        else if (wparam == 0 && lparam == 1) OpenEditor();
        else if (wparam == 1 && lparam == 0) send(m_hPreview, WM_CLOSE_WINDOW);
        return 1;
    case WM_TOOL_NEWIMAGE: {
        if (auto* info = reinterpret_cast<const PluginToolInfo*>(wparam)) m_Info = *info;
        if (auto* record = reinterpret_cast<PluginToolRecord*>(lparam)) m_pRecord = record;
        Sheet()->Reload(m_Info, m_pRecord);
        m_pView->UpdateScrollSize();
        send(m_hPreview, WM_TOOL_NEWIMAGE, wparam, lparam);
        return 1;
    }
    case WM_TOOL_IMAGECHANGED:
        Sheet()->RebuildPalette();
        m_pView->viewport()->update();
        return 1;
    case WM_TOOL_SETTINGS: return send(m_hPreview, message, wparam, lparam);
    case WM_TOOL_DOCCLOSED: onDocumentClosed(); return 1;
    default: return MessageWindow::OnWindowMessage(message, wparam, lparam);
    }
}
