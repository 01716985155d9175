#include "dialogs/layer_fields.h"

#include <cstring>

#include <QComboBox>
#include <QLineEdit>

#include "dialogs/dialog_fields.h"
#include "document/floating_selection.h"
#include "document/pelmark_doc.h"
#include "framework/dialog.h"
#include "platform/message_box.h"

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
