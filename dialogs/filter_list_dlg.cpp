#include "dialogs/filter_list_dlg.h"

#include <QComboBox>

#include "framework/program_globals.h"

using framework::ControlKind;

CFilterListDlg::CFilterListDlg(QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("滤镜"));
    CreateControls({
        {kListId, ControlKind::EditComboBox, {}, {12, 14, 260, 24}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {286, 12, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {286, 44, 78, 26}},
    });
    if (auto* combo = Item<QComboBox>(kListId)) combo->setInsertPolicy(QComboBox::NoInsert);
    setFixedSize(378, 82);
}

void CFilterListDlg::SetEntries(const QStringList& entries) {
    m_entries.clear();
    for (const QString& entry : entries.mid(0, kMaxEntries)) m_entries.push_back(entry.left(kEntryChars));
}

QString CFilterListDlg::PathOf(const QString& entry) {
    const qsizetype open = entry.indexOf(QLatin1Char('<'));
    const qsizetype close = entry.indexOf(QLatin1Char('>'));
    if (open < 0 || close < 0 || close < open) return {};
    return entry.mid(open + 1, close - open - 1);
}

bool CFilterListDlg::OnInitDialog() {
    if (auto* combo = Item<QComboBox>(kListId)) {
        combo->clear();
        combo->addItems(m_entries);
        if (m_entries.isEmpty()) combo->setEditText(QStringLiteral("没有滤镜。"));
        else combo->setCurrentIndex(0);
    }
    return true;
}

void CFilterListDlg::OnOK() {
    if (!m_entries.isEmpty()) {
        // A typed text that is no entry's chooses none.
        const QComboBox* combo = Item<QComboBox>(kListId);
        int index = -1;
        if (combo) {
            index = combo->currentIndex();
            if (index < 0 || combo->itemText(index) != combo->currentText())
                index = combo->findText(combo->currentText(), Qt::MatchExactly);
        }
        if (index < 0 || index >= m_entries.size()) SetSelectedFilter(-1, {});
        else SetSelectedFilter(index, PathOf(m_entries[index]));
    }
    EndDialog(framework::IDOK);
}
