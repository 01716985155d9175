// The colour edit dialog driven by control id, with a dictionary fixture.
#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/color_choice.h"
#include "dialogs/color_edit_dlg.h"
#include "dialogs/dialog_host.h"
#include "frame/color_dic.h"

namespace {

using Dlg = CColorEditDlg;
using framework::Dialog;
using framework::IDCANCEL;
using framework::IDOK;

// Key presses that carry text, one a character (any script).
void TypeText(QWidget* widget, const QString& text) {
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
    }
}

// A host with a real dictionary read from a small fixture.
class DictionaryHost : public DialogHost {
public:
    ColorDicFile dic;
    int dicMode = 0;
    int probes = 0;
    int probeAnswer = 1;
    int toolRefreshes = 0;
    int imageDrawn = 0;

    int ProbeWorkMemory(int) override {
        ++probes;
        return probeAnswer;
    }
    void DeleteUnusedColors() override {}
    void PaletteChanged() override {}
    void RepaintActiveView() override {}
    void LayersChanged(CPelmarkDoc*) override {}
    void ImageDrawn() override { ++imageDrawn; }
    void RefreshToolPalette() override { ++toolRefreshes; }
    std::vector<NamedColor> ColorDictionary() override {
        std::vector<NamedColor> named;
        for (const ColorDicEntry& e : dic.Entries()) named.push_back({e.name, {e.red, e.green, e.blue, e.alpha}});
        return named;
    }
    bool AddColorDictionaryEntry(const NamedColor& e) override {
        return dic.AddEntry({e.name, e.color.red, e.color.green, e.color.blue, e.color.alpha});
    }
    bool DeleteColorDictionaryEntry(int index) override { return dic.DeleteEntry(index); }
    int ColorDictionaryMode() override { return dicMode; }
    void SetColorDictionaryMode(int mode) override { dicMode = mode; }
};

class ColorEditDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        Dlg::SetMode(Dlg::kRgbMode);
        QFile file(dir.filePath("COLOR.DIC"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("橙,255,128,0,255\r\n海,0,64,128,200\r\n\x1a");
        file.close();
        host.dic.SetDirectories(dir.path() + "/", dir.path() + "/user/");
        ASSERT_EQ(host.dic.LoadColorDic(), 1);
        DialogHost::Install(&host);
    }
    void TearDown() override {
        DialogHost::Uninstall(&host);
        Dlg::SetMode(Dlg::kRgbMode);
    }

    // Runs the dialog on a colour with the driver; the dialog's result.
    int Run(Dlg& dlg, ChosenColor color, const std::function<void(Dlg&)>& body) {
        dlg.SetColor(color);
        framework::ScopedModalDriver driver([&](Dialog& d) {
            if (d.TemplateId() != Dlg::kTemplateId) return;
            d.activateWindow();
            QApplication::processEvents();
            body(static_cast<Dlg&>(d));
        });
        return dlg.DoModal();
    }
    static QScrollBar* Bar(Dlg& d, int i) { return d.Item<QScrollBar>(Dlg::kBarIds[size_t(i)]); }
    static QString Edit(Dlg& d, int i) { return d.GetDlgItemText(Dlg::kEditIds[size_t(i)]); }
    // Types into an edit box and moves the focus on, as the user would.
    static void Type(Dlg& d, int i, const QString& text) {
        const int id = Dlg::kEditIds[size_t(i)];
        d.GotoDlgCtrl(id);
        d.SetDlgItemText(id, text);
        d.GotoDlgCtrl(Dlg::kEditIds[size_t((i + 1) % 4)]);
    }
    // OK pressed with the mouse (the button takes the focus).
    static void ClickOk(Dlg& d) {
        QTest::mouseClick(d.GetDlgItem(IDOK), Qt::LeftButton);
    }
    static void ExpectHsv(Dlg& d, int h, int s, int v) {
        EXPECT_EQ(d.hue, h);
        EXPECT_EQ(d.saturation, s);
        EXPECT_EQ(d.value, v);
    }

    QTemporaryDir dir;
    DictionaryHost host;
};

TEST_F(ColorEditDlgTest, LabelsAndRangesFollowTheMode) {
    for (int mode : {Dlg::kRgbMode, Dlg::kHsvMode}) {
        Dlg::SetMode(mode);
        Dlg dlg;
        Run(dlg, {128, 64, 32, 300}, [&](Dlg& d) {
            const bool rgb = mode == Dlg::kRgbMode;
            const char* labels = rgb ? "RGBA" : "HSVA";
            const int maxima[] = {rgb ? 255 : 359, rgb ? 255 : 100, rgb ? 255 : 100, 255};
            const int values[] = {rgb ? 128 : 20, rgb ? 64 : 75, rgb ? 32 : 50, 255};
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(d.GetDlgItemText(Dlg::kLabelIds[size_t(i)]), QString(QChar(labels[i])));
                EXPECT_EQ(Bar(d, i)->minimum(), 0);
                EXPECT_EQ(Bar(d, i)->maximum(), maxima[i]);
                EXPECT_EQ(Bar(d, i)->value(), values[i]);
                EXPECT_EQ(Edit(d, i), QString::number(values[i]));
            }
            EXPECT_EQ(d.IsDlgButtonChecked(rgb ? Dlg::kRgbRadioId : Dlg::kHsvRadioId), 1);
            EXPECT_EQ(d.alpha, 255);  // clamped on opening
            // Red, green and blue bars in RGB mode, the system colours in HSV mode.
            const QColor button = Bar(d, 0)->palette().color(QPalette::Button);
            EXPECT_EQ(button == QColor(255, 0, 0), rgb);
            EXPECT_EQ(Bar(d, 3)->palette().color(QPalette::Button) == QColor(128, 128, 128), rgb);
        });
    }
}

TEST_F(ColorEditDlgTest, ScrollSteps) {
    struct Case {
        int mode;
        int bar;
        int start;  // the bar's position before the step
        QAbstractSlider::SliderAction action;
        int expected;
    };
    using A = QAbstractSlider;
    const Case cases[] = {
        {Dlg::kRgbMode, 0, 100, A::SliderSingleStepAdd, 101},
        {Dlg::kRgbMode, 0, 100, A::SliderSingleStepSub, 99},
        {Dlg::kRgbMode, 0, 100, A::SliderPageStepAdd, 125},
        {Dlg::kRgbMode, 0, 0, A::SliderSingleStepSub, 0},
        {Dlg::kRgbMode, 0, 250, A::SliderPageStepAdd, 255},
        {Dlg::kRgbMode, 2, 100, A::SliderToMinimum, 0},
        {Dlg::kRgbMode, 2, 100, A::SliderToMaximum, 255},
        {Dlg::kHsvMode, 1, 50, A::SliderPageStepAdd, 60},   // 0..100: page 10
        {Dlg::kHsvMode, 1, 50, A::SliderPageStepSub, 40},
        {Dlg::kHsvMode, 0, 100, A::SliderPageStepAdd, 135},  // 0..359: page 35
        {Dlg::kHsvMode, 0, 100, A::SliderToMaximum, 359},
        {Dlg::kHsvMode, 0, 10, A::SliderPageStepSub, 0},
    };
    for (const Case& c : cases) {
        Dlg::SetMode(c.mode);
        Dlg dlg;
        Run(dlg, {200, 100, 50, 255}, [&](Dlg& d) {
            Bar(d, c.bar)->setValue(c.start);
            Bar(d, c.bar)->triggerAction(c.action);
            EXPECT_EQ(Bar(d, c.bar)->value(), c.expected) << c.mode << " " << c.bar << " " << c.action;
            EXPECT_EQ(Edit(d, c.bar), QString::number(c.expected));
        });
    }
    // Dragging the thumb gives the position; the other side follows.
    Dlg::SetMode(Dlg::kRgbMode);
    Dlg dlg;
    Run(dlg, {0, 0, 0, 255}, [&](Dlg& d) {
        Bar(d, 0)->setSliderDown(true);
        Bar(d, 0)->setSliderPosition(255);
        EXPECT_EQ(Edit(d, 0), "255");
        EXPECT_EQ(d.red, 255);
        ExpectHsv(d, 0, 100, 100);
        Bar(d, 0)->setSliderDown(false);
    });
}

TEST_F(ColorEditDlgTest, EditBoxesAreClampedAndAppliedOnLeaving) {
    Dlg dlg;
    const int result = Run(dlg, {10, 20, 30, 40}, [&](Dlg& d) {
        Type(d, 0, "300");
        EXPECT_EQ(Edit(d, 0), "255");
        EXPECT_EQ(d.red, 255);
        EXPECT_EQ(Bar(d, 0)->value(), 255);
        Type(d, 1, "-5");
        EXPECT_EQ(Edit(d, 1), "0");
        EXPECT_EQ(d.green, 0);
        // A text that is no number brings the value back.
        for (const char* text : {"abc", "99999999999", ""}) {
            Type(d, 2, text);
            EXPECT_EQ(Edit(d, 2), "30") << text;
            EXPECT_EQ(d.blue, 30);
        }
        ClickOk(d);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dlg.Color().red, 255);
    EXPECT_EQ(dlg.Color().green, 0);
    EXPECT_EQ(dlg.Color().blue, 30);
    EXPECT_EQ(dlg.Color().alpha, 40);
    EXPECT_EQ(host.toolRefreshes, 1);
    EXPECT_EQ(host.imageDrawn, 1);
}

TEST_F(ColorEditDlgTest, EnterInAnEditAppliesItAndASecondEnterCloses) {
    Dlg dlg;
    bool stayedOpen = false;
    const int result = Run(dlg, {10, 20, 30, 40}, [&](Dlg& d) {
        d.GotoDlgCtrl(Dlg::kEditIds[0]);
        QLineEdit* edit = d.Item<QLineEdit>(Dlg::kEditIds[0]);
        edit->setText("77");
        QTest::keyClick(edit, Qt::Key_Return);
        stayedOpen = d.IsModalRunning();
        EXPECT_EQ(d.red, 77);
        EXPECT_EQ(Bar(d, 0)->value(), 77);
        EXPECT_EQ(host.toolRefreshes, 0);
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key_Return);
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dlg.red, 77);
}

TEST_F(ColorEditDlgTest, CancelGivesNoColourAndNoRefresh) {
    Dlg dlg;
    EXPECT_EQ(Run(dlg, {10, 20, 30, 40}, [&](Dlg& d) { d.ClickButton(IDCANCEL); }), IDCANCEL);
    EXPECT_EQ(host.toolRefreshes, 0);
}

TEST_F(ColorEditDlgTest, RadiosSwitchWithoutConversion) {
    Dlg dlg;
    Run(dlg, {128, 64, 32, 255}, [&](Dlg& d) {
        d.ClickButton(Dlg::kHsvRadioId);
        EXPECT_EQ(Dlg::Mode(), Dlg::kHsvMode);
        EXPECT_EQ(Edit(d, 0), "20");
        EXPECT_EQ(Bar(d, 0)->maximum(), 359);
        d.ClickButton(Dlg::kRgbRadioId);
        // (128, 64, 32) and not its HSV round trip (128, 64, 33).
        EXPECT_EQ(Edit(d, 2), "32");
        EXPECT_EQ(d.blue, 32);
        EXPECT_EQ(d.GetDlgItemText(Dlg::kLabelIds[0]), "R");
    });
    // The mode is kept for the next opening.
    Dlg again;
    Run(again, {0, 0, 0, 0}, [&](Dlg& d) { EXPECT_EQ(d.GetDlgItemText(Dlg::kLabelIds[0]), "R"); });
}

TEST_F(ColorEditDlgTest, AlphaAloneChangesOnlyAlpha) {
    for (int mode : {Dlg::kRgbMode, Dlg::kHsvMode}) {
        Dlg::SetMode(mode);
        Dlg dlg;
        Run(dlg, {128, 64, 32, 255}, [&](Dlg& d) {
            Bar(d, 3)->setValue(100);
            Type(d, 3, "90");
            EXPECT_EQ(d.alpha, 90);
            EXPECT_EQ(d.red, 128);
            EXPECT_EQ(d.green, 64);
            EXPECT_EQ(d.blue, 32) << mode;
            ExpectHsv(d, 20, 75, 50);
        });
    }
}

TEST_F(ColorEditDlgTest, HsvMovesRecomputeRgb) {
    Dlg::SetMode(Dlg::kHsvMode);
    Dlg dlg;
    Run(dlg, {0, 0, 0, 255}, [&](Dlg& d) {
        Bar(d, 1)->setValue(100);
        Bar(d, 2)->setValue(100);
        Type(d, 0, "120");
        EXPECT_EQ(d.red, 0);
        EXPECT_EQ(d.green, 255);
        EXPECT_EQ(d.blue, 0);
    });
}

TEST_F(ColorEditDlgTest, TheDictionaryFillsAndPicksInBothModes) {
    for (int mode : {Dlg::kRgbMode, Dlg::kHsvMode}) {
        Dlg::SetMode(mode);
        Dlg dlg;
        Run(dlg, {1, 2, 3, 4}, [&](Dlg& d) {
            auto* list = d.Item<QListWidget>(Dlg::kDictionaryListId);
            ASSERT_EQ(list->count(), 2);
            EXPECT_EQ(list->item(0)->text(), "橙");
            EXPECT_EQ(list->item(1)->text(), "海");
            list->setCurrentRow(1);
            EXPECT_EQ(d.red, 0);
            EXPECT_EQ(d.green, 64);
            EXPECT_EQ(d.blue, 128);
            EXPECT_EQ(d.alpha, 200);
            // HSV is the picked colour's in either mode.
            ExpectHsv(d, 210, 100, 50);
            EXPECT_EQ(Edit(d, 0), mode == Dlg::kRgbMode ? "0" : "210");
            EXPECT_EQ(Edit(d, 3), "200");
            // Switching shows the picked colour, and a move keeps it.
            d.ClickButton(mode == Dlg::kRgbMode ? Dlg::kHsvRadioId : Dlg::kRgbRadioId);
            Bar(d, 3)->setValue(201);
            EXPECT_EQ(d.red, 0);
            EXPECT_EQ(d.green, 64);
            EXPECT_EQ(d.blue, 128);
        });
    }
}

TEST_F(ColorEditDlgTest, AddingAnEntry) {
    Dlg dlg;
    std::vector<QString> typed = {"天空", "abcdefghijklmnopqrstu", "a,b"};
    size_t next = 0;
    framework::ScopedModalDriver driver([&](Dialog& d) {
        if (d.TemplateId() == CColorNameDlg::kTemplateId) {
            auto* edit = d.Item<QLineEdit>(CColorNameDlg::kNameId);
            TypeText(edit, typed[next++]);
            d.ClickButton(IDOK);
            return;
        }
        auto& e = static_cast<Dlg&>(d);
        auto* list = e.Item<QListWidget>(Dlg::kDictionaryListId);
        e.ClickButton(Dlg::kAddEntryId);
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->currentRow(), 2);
        EXPECT_EQ(list->item(2)->text(), "天空");
        // More than 20 characters: the 21st is not taken.
        e.ClickButton(Dlg::kAddEntryId);
        ASSERT_EQ(list->count(), 4);
        EXPECT_EQ(list->item(3)->text().size(), 20);
        // A comma is not taken either.
        e.ClickButton(Dlg::kAddEntryId);
        ASSERT_EQ(list->count(), 5);
        EXPECT_EQ(list->item(4)->text(), "ab");
        // Without work memory nothing is asked.
        host.probeAnswer = 0;
        e.ClickButton(Dlg::kAddEntryId);
        EXPECT_EQ(list->count(), 5);
        e.ClickButton(IDCANCEL);
    });
    dlg.SetColor({1, 2, 3, 4});
    dlg.DoModal();
    EXPECT_EQ(next, 3u);
    EXPECT_TRUE(host.dic.IsModified());
    const auto entries = host.dic.Entries();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[2].red, 1);
    EXPECT_EQ(entries[2].alpha, 4);
}

TEST_F(ColorEditDlgTest, AnEmptyNameAddsNothing) {
    Dlg dlg;
    framework::ScopedModalDriver driver([&](Dialog& d) {
        if (d.TemplateId() == CColorNameDlg::kTemplateId) {
            d.ClickButton(IDOK);
            return;
        }
        d.ClickButton(Dlg::kAddEntryId);
        EXPECT_EQ(d.Item<QListWidget>(Dlg::kDictionaryListId)->count(), 2);
    });
    dlg.DoModal();
    EXPECT_FALSE(host.dic.IsModified());
}

TEST_F(ColorEditDlgTest, DeletingAnEntry) {
    Dlg dlg;
    Run(dlg, {1, 2, 3, 4}, [&](Dlg& d) {
        auto* list = d.Item<QListWidget>(Dlg::kDictionaryListId);
        list->setCurrentRow(-1);
        d.ClickButton(Dlg::kDeleteEntryId);  // no selection: refill only
        EXPECT_EQ(list->count(), 2);
        EXPECT_FALSE(host.dic.IsModified());
        list->setCurrentRow(0);
        d.ClickButton(Dlg::kDeleteEntryId);
        ASSERT_EQ(list->count(), 1);
        EXPECT_EQ(list->item(0)->text(), "海");
    });
    EXPECT_TRUE(host.dic.IsModified());
    ASSERT_EQ(host.dic.Entries().size(), 1u);
}

TEST_F(ColorEditDlgTest, TheDictionaryPartFollowsTheCheckBox) {
    Dlg dlg;
    Run(dlg, {1, 2, 3, 4}, [&](Dlg& d) {
        EXPECT_EQ(d.IsDlgButtonChecked(Dlg::kDictionaryCheckId), 0);
        EXPECT_EQ(d.width(), d.GetDlgItem(Dlg::kDictionaryEdgeId)->x());
        d.ClickButton(Dlg::kDictionaryCheckId);
        EXPECT_EQ(host.dicMode, 1);
        EXPECT_EQ(d.width(), d.FullWidth());
        EXPECT_GT(d.FullWidth(), d.NarrowWidth());
    });
    Dlg again;
    Run(again, {1, 2, 3, 4}, [&](Dlg& d) {
        EXPECT_EQ(d.IsDlgButtonChecked(Dlg::kDictionaryCheckId), 1);
        EXPECT_EQ(d.width(), d.FullWidth());
        d.ClickButton(Dlg::kDictionaryCheckId);
        EXPECT_EQ(host.dicMode, 0);
        EXPECT_EQ(d.width(), d.NarrowWidth());
    });
}

TEST_F(ColorEditDlgTest, ChooseColorRunsTheDialog) {
    ChosenColor color{5, 6, 7, 8};
    framework::ScopedModalDriver driver([&](Dialog& d) {
        ASSERT_EQ(d.TemplateId(), Dlg::kTemplateId);
        static_cast<Dlg&>(d).Item<QScrollBar>(Dlg::kBarIds[0])->setValue(50);
        ClickOk(static_cast<Dlg&>(d));
    });
    EXPECT_TRUE(ChooseColor(nullptr, color));
    EXPECT_EQ(color.red, 50);
    EXPECT_EQ(color.alpha, 8);
}

}  // namespace
