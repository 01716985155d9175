#include "dialogs/layer_fields.h"

#include <algorithm>
#include <cstring>

#include <QComboBox>
#include <QLineEdit>

#include "dialogs/dialog_fields.h"
#include "document/floating_selection.h"
#include "document/pelmark_doc.h"
#include "framework/dialog.h"
#include "imaging/dib_geometry.h"
#include "platform/message_box.h"

bool ComputeLayerBlockSize(framework::Dialog& dialog, const CPelmarkDoc* doc, size_t* size) {
    if (!doc) {
        LayerDialogMessage(dialog, QStringLiteral("错误"));
        return false;
    }
    const int width = std::max(doc->m_nWidth, 0), height = std::max(doc->m_nHeight, 0);
    *size = LAYER_HEADER_SIZE + dib::LayerRowBytes(width) * size_t(height);
    return true;
}

void CreateNameAndModeControls(framework::Dialog& dialog, int nameId, int drawModeId) {
    using framework::ControlKind;
    dialog.CreateControls({
        {0, ControlKind::Label, QStringLiteral("图层名："), {12, 16, 70, 20}},
        {nameId, ControlKind::Edit, {}, {86, 14, 200, 22}},
        {0, ControlKind::Label, QStringLiteral("绘制方式："), {12, 48, 70, 20}},
        {drawModeId, ControlKind::ComboBox, {}, {86, 46, 200, 24}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {300, 12, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {300, 44, 78, 26}},
    });
    dialog.setFixedSize(392, 84);
    LimitLayerNameField(dialog.Item<QLineEdit>(nameId));
}

void LimitLayerNameField(QLineEdit* edit) {
    LimitUtf8Bytes(edit, kLayerNameBytes);
}

void FillDrawModeCombo(QComboBox* combo, int mode) {
    if (!combo) return;
    combo->clear();
    combo->addItem(QStringLiteral("标准"));
    combo->addItem(QStringLiteral("背景透明"));
    combo->setCurrentIndex(mode == LAYER_DRAW_NORMAL ? 0 : 1);
}

QString LayerHeaderName(const LayerHeader& header) {
    return QString::fromUtf8(header.name, qsizetype(strnlen(header.name, LAYER_NAME_SIZE)));
}

EditLayerHeader::EditLayerHeader(CPelmarkDoc* doc)
    : lock_(doc ? document::CurrentLayerOf(*doc) : nullptr) {
    if (lock_ && lock_.size() >= LAYER_HEADER_SIZE) header_ = lock_.as<LayerHeader>();
}

void LayerDialogMessage(framework::Dialog& dialog, const QString& text) {
    ShowDialogMessage(dialog, text, MB_BTN_OK | MB_ICON_WARNING);
}

bool LayerDialogConfirm(framework::Dialog& dialog, const QString& text) {
    return ShowDialogMessage(dialog, text, MB_BTN_OKCANCEL | MB_ICON_QUESTION) == MB_ANSWER_OK;
}
