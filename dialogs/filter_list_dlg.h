// The filter list (dialog 209 "滤镜"): a combo box of up to 50 entries
// "name <path>". OK stores the chosen entry's index and the path between its
// first "<" and first ">" program-wide (SetSelectedFilter); with no entries
// the combo reads "没有滤镜。" and nothing is stored.
#pragma once

#include <QStringList>

#include "framework/dialog.h"

class CFilterListDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 209;
    static constexpr int kListId = 1072;
    static constexpr int kMaxEntries = 50;
    static constexpr int kEntryChars = 256;

    explicit CFilterListDlg(QWidget* parent = nullptr);

    // Keeps the first kMaxEntries entries, each cut to kEntryChars characters.
    void SetEntries(const QStringList& entries);
    const QStringList& Entries() const { return m_entries; }

    // The text between the first "<" and the first ">" of an entry; empty
    // when either is missing or ">" comes first.
    static QString PathOf(const QString& entry);

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    QStringList m_entries;
};
