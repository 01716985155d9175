// The one-value dialogs: alpha, edit mode, filter list and URL.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QKeyEvent>

#include "dialogs/alpha_dlg.h"
#include "dialogs/edit_mode_dlg.h"
#include "dialogs/filter_list_dlg.h"
#include "dialogs/url_dlg.h"
#include "framework/program_globals.h"
#include "platform/message_box_recorder.h"

namespace {

using framework::Dialog;
using framework::IDOK;
using framework::ScopedModalDriver;

TEST(AlphaDlg, TakesZeroTo255AndRefusesTheRest) {
    struct Case {
        const char* text;
        bool accepted;
        int value;
    } cases[] = {{"0", true, 0}, {"255", true, 255}, {"256", false, 0}, {"-1", false, 0}, {"x", false, 0}};
    platform::MessageBoxRecorder boxes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        boxes.Clear();
        CAlphaDlg dlg;
        bool stayedOpen = false;
        ScopedModalDriver driver([&](Dialog& d) {
            EXPECT_EQ(d.windowTitle(), "设置 alpha 值");
            EXPECT_EQ(d.GetDlgItemText(CAlphaDlg::kAlphaId), "128");
            d.SetDlgItemText(CAlphaDlg::kAlphaId, c.text);
            d.ClickButton(IDOK);
            stayedOpen = d.IsModalRunning();
        });
        EXPECT_EQ(dlg.DoModal() == IDOK, c.accepted);
        EXPECT_EQ(stayedOpen, !c.accepted);
        if (c.accepted) {
            EXPECT_EQ(dlg.m_nAlpha, c.value);
            EXPECT_EQ(boxes.Count(), 0u);
        } else {
            ASSERT_EQ(boxes.Count(), 1u);
            EXPECT_EQ(boxes.Requests()[0].text, "请输入一个介于 0 和 255 之间的整数。");
            EXPECT_EQ(dlg.m_nAlpha, 128);
        }
    }
}

TEST(AlphaDlg, LeavingTheEditRewritesItsNumber) {
    CAlphaDlg dlg;
    dlg.m_nAlpha = 7;
    ScopedModalDriver driver([&](Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(CAlphaDlg::kAlphaId), "7");
        d.SetDlgItemText(CAlphaDlg::kAlphaId, " 12");
        d.NotifyControl(CAlphaDlg::kAlphaId, framework::Notify::KillFocus);
        EXPECT_EQ(d.GetDlgItemText(CAlphaDlg::kAlphaId), "12");
        d.SetDlgItemText(CAlphaDlg::kAlphaId, "x");
        d.NotifyControl(CAlphaDlg::kAlphaId, framework::Notify::KillFocus);
        EXPECT_EQ(d.GetDlgItemText(CAlphaDlg::kAlphaId), "x");
        d.SetDlgItemText(CAlphaDlg::kAlphaId, "12");
        d.ClickButton(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nAlpha, 12);
}

TEST(EditModeDlg, ChecksTheCallersModeAndStoresTheChoice) {
    struct Case {
        int callerMode;
        bool check256, check16;
        int choose;  // radio id clicked, 0: none
        int stored;
    } cases[] = {
        {0, true, false, 0, 0},
        {1, false, true, 0, 1},
        {2, false, false, 0, 2},  // no choice: the caller's mode, read as no change
        {2, false, false, CEditModeDlg::k16ColorsId, 1},
        {0, true, false, CEditModeDlg::k16ColorsId, 1},
        {1, false, true, CEditModeDlg::k256ColorsId, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.callerMode << " then " << c.choose);
        SetLastEditModeChoice(-7);
        CEditModeDlg dlg;
        dlg.m_nMode = c.callerMode;
        ScopedModalDriver driver([&](Dialog& d) {
            EXPECT_EQ(d.windowTitle(), "改变编辑模式");
            EXPECT_EQ(d.IsDlgButtonChecked(CEditModeDlg::k256ColorsId) == 1, c.check256);
            EXPECT_EQ(d.IsDlgButtonChecked(CEditModeDlg::k16ColorsId) == 1, c.check16);
            if (c.choose) d.ClickButton(c.choose);
            d.ClickButton(IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(GetLastEditModeChoice(), c.stored);
    }
}

struct FilterCase {
    const char* name;
    QStringList entries;
    QString typed;  // empty: the first entry stays chosen
    int index;
    QString path;
};

TEST(FilterListDlg, StoresTheChosenEntryAndItsPath) {
    const QString longEntry = QStringLiteral("x <") + QString(300, QLatin1Char('a')) + QStringLiteral(">");
    const FilterCase cases[] = {
        {"name and path", {QStringLiteral("模糊 <plug/Hazewell.GLT>"), QStringLiteral("b <c>")}, {}, 0,
         QStringLiteral("plug/Hazewell.GLT")},
        {"typed text", {QStringLiteral("模糊 <plug/Hazewell.GLT>")}, QStringLiteral("别的"), -1, {}},
        {"typed entry", {QStringLiteral("a <1>"), QStringLiteral("b <2>")}, QStringLiteral("b <2>"), 1,
         QStringLiteral("2")},
        {"no brackets", {QStringLiteral("模糊 plug")}, {}, 0, {}},
        {"> before <", {QStringLiteral("a >b< c>")}, {}, 0, {}},
        {"256 characters without >", {longEntry}, {}, 0, {}},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetSelectedFilter(-7, QStringLiteral("old"));
        CFilterListDlg dlg;
        dlg.SetEntries(c.entries);
        ScopedModalDriver driver([&](Dialog& d) {
            EXPECT_EQ(d.windowTitle(), "滤镜");
            auto* combo = d.Item<QComboBox>(CFilterListDlg::kListId);
            ASSERT_TRUE(combo);
            EXPECT_EQ(combo->count(), c.entries.size());
            EXPECT_EQ(combo->currentIndex(), 0);
            if (!c.typed.isEmpty()) combo->setEditText(c.typed);
            d.ClickButton(IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(GetSelectedFilterIndex(), c.index);
        EXPECT_EQ(GetSelectedFilterPath(), c.path);
    }
}

TEST(FilterListDlg, WithoutEntriesSaysSoAndStoresNothing) {
    SetSelectedFilter(3, QStringLiteral("kept"));
    CFilterListDlg dlg;
    ScopedModalDriver driver([&](Dialog& d) {
        auto* combo = d.Item<QComboBox>(CFilterListDlg::kListId);
        ASSERT_TRUE(combo);
        EXPECT_EQ(combo->count(), 0);
        EXPECT_EQ(combo->currentText(), "没有滤镜。");
        d.ClickButton(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(GetSelectedFilterIndex(), 3);
    EXPECT_EQ(GetSelectedFilterPath(), "kept");
}

TEST(FilterListDlg, KeepsFiftyEntriesOf256Characters) {
    QStringList entries;
    for (int i = 0; i < 60; ++i) entries << QString(300, QLatin1Char('a' + i % 26));
    CFilterListDlg dlg;
    dlg.SetEntries(entries);
    ASSERT_EQ(dlg.Entries().size(), 50);
    EXPECT_EQ(dlg.Entries()[49].size(), 256);
}

TEST(UrlDlg, GivesTheTextBackAfterOk) {
    CUrlDlg dlg;
    dlg.m_strUrl = QStringLiteral("http://example.org/a");
    ScopedModalDriver driver([&](Dialog& d) {
        EXPECT_EQ(d.windowTitle(), "输入 URL");
        EXPECT_EQ(d.GetDlgItemText(CUrlDlg::kUrlId), "http://example.org/a");
        d.SetDlgItemText(CUrlDlg::kUrlId, QStringLiteral("http://example.org/地图"));
        d.ClickButton(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strUrl, "http://example.org/地图");
}

// Types each character as a key press carrying its text (keys beyond ASCII
// included).
void Type(QWidget* widget, const QString& text) {
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
    }
}

TEST(UrlDlg, TypingStopsAtACharacterWithin127Bytes) {
    CUrlDlg dlg;
    ScopedModalDriver driver([&](Dialog& d) {
        auto* edit = d.Item<QLineEdit>(CUrlDlg::kUrlId);
        ASSERT_TRUE(edit);
        // 2 bytes, then three-byte characters: 2 + 41 * 3 = 125 bytes fit,
        // the 42nd character would make 128.
        Type(edit, QStringLiteral("ab") + QString(50, QChar(0x5730)));
        EXPECT_EQ(edit->text(), QStringLiteral("ab") + QString(41, QChar(0x5730)));
        Type(edit, QStringLiteral("cd"));
        EXPECT_EQ(edit->text().toUtf8().size(), 127);
        d.ClickButton(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strUrl.toUtf8().size(), 127);
    EXPECT_TRUE(dlg.m_strUrl.endsWith(QStringLiteral("cd")));
}

}  // namespace
