// The new-image dialog driven by control id.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

#include "framework/program_globals.h"
#include "dialogs/color_button.h"
#include "dialogs/dialog_host.h"
#include "dialogs/new_image_dlg.h"
#include "document/image_limits.h"
#include "framework/application.h"
#include "platform/message_box_recorder.h"

namespace {

using Dlg = CNewImageDlg;
using framework::Dialog;
using framework::IDCANCEL;
using framework::IDOK;

// An application whose open prompt answers with a fixed path (or cancels).
class PromptApp : public framework::Application {
public:
    std::optional<QString> answer;
    int prompts = 0;
    bool DoPromptFileName(QString& name, int, bool open, framework::DocTemplate*) override {
        ++prompts;
        EXPECT_TRUE(open);
        if (!answer) return false;
        name = *answer;
        return true;
    }
};

class NewImageDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.SetAppName("Kavolt");
        Dlg::Kept() = {};
        previousDir = GetProgramDirectory();
        WriteMenu("小 16 16\n-分隔 中 32 48\n大 640 400\n");
        SetMapToolSetting(0);
    }
    void TearDown() override {
        SetProgramDirectory(previousDir);
        SetMapToolSetting(0);
        SetColorChooser({});
    }
    void WriteMenu(const QByteArray& text) {
        QFile file(dir.filePath("menu.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        SetProgramDirectory(dir.path() + "/");
    }
    // Runs a dialog with `drive` working it; the dialog's result.
    int Run(Dlg& dlg, const std::function<void(Dlg&)>& drive) {
        framework::ScopedModalDriver driver([&](Dialog& d) { drive(static_cast<Dlg&>(d)); });
        return dlg.DoModal();
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& r : boxes.Requests()) texts.push_back(r.text);
        return texts;
    }

    PromptApp app;
    QTemporaryDir dir;
    QString previousDir;
    platform::MessageBoxRecorder boxes;
};

TEST_F(NewImageDlgTest, OpensWithEveryControlAndTheKeptState) {
    Dlg::Kept().paletteSource = Dlg::kPaletteLastUsed;
    Dlg::Kept().palettePath = "/old/palette.gif";
    Dlg::Kept().background = {10, 20, 30, 40};
    Dlg dlg;
    Run(dlg, [&](Dlg& d) {
        EXPECT_EQ(d.windowTitle(), "新建");
        const std::pair<int, const char*> texts[] = {
            {Dlg::kMode256Id, "256色模式"},
            {Dlg::kMode16Id, "16色模式"},
            {Dlg::kPaletteNoneId, "无　　背景色(调板中0号)："},
            {Dlg::kPaletteFileId, "有"},
            {Dlg::kPaletteLastUsedId, "使用上次使用的调板"},
            {Dlg::kBrowseId, "浏览..."},
            {Dlg::kWidthId, "640"},
            {Dlg::kHeightId, "480"},
            {Dlg::kPresetListId, "指定特定尺寸"},
        };
        for (const auto& [id, text] : texts) EXPECT_EQ(d.GetDlgItemText(id), QString::fromUtf8(text)) << id;
        auto* presets = d.Item<QComboBox>(Dlg::kPresetListId);
        ASSERT_NE(presets, nullptr);
        ASSERT_EQ(presets->count(), 3);
        EXPECT_EQ(presets->itemText(1), "中");
        EXPECT_EQ(presets->currentIndex(), 0);
        EXPECT_EQ(d.IsDlgButtonChecked(Dlg::kMode256Id), 1);
        EXPECT_EQ(d.GetCheckedRadioButton(Dlg::kPaletteNoneId, Dlg::kPaletteLastUsedId), Dlg::kPaletteNoneId);
        EXPECT_FALSE(d.GetDlgItem(Dlg::kBrowseId)->isEnabled());
        auto* color = d.Item<ColorButton>(Dlg::kBackColorId);
        ASSERT_NE(color, nullptr);
        EXPECT_EQ(color->Color().blue, 30);
        EXPECT_EQ(Dlg::Kept().paletteSource, Dlg::kPaletteNone);
        EXPECT_TRUE(Dlg::Kept().palettePath.isEmpty());
    });
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(NewImageDlgTest, SizeExpressionsNeedASecondOk) {
    struct Case {
        const char* width;
        const char* height;
        const char* shownWidth;  // after the first OK
        const char* shownHeight;
        bool staysOpen;       // after the first OK
        bool secondOkPasses;  // the shown numbers, confirmed
    };
    const Case cases[] = {
        {"32*4", "480", "128", "480", true, true},
        {"2+3*4", "480", "20", "480", true, true},
        {"10/0", "480", "0", "480", true, false},  // 0 is out of range
        {"100", "480", "100", "480", false, true},
        {"abc", "480", "0", "480", true, false},
        {"4096/2+1", "480", "2049", "480", true, false},
        {"64", "100/3", "64", "33", true, true},
        {"8*8", "100/3", "64", "33", true, true},  // both shown at once
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.width) + " x " + c.height);
        Dlg dlg;
        bool stayed = false, stayedAfterSecond = false;
        int result = Run(dlg, [&](Dlg& d) {
            d.SetDlgItemText(Dlg::kWidthId, c.width);
            d.SetDlgItemText(Dlg::kHeightId, c.height);
            d.ClickButton(IDOK);
            EXPECT_EQ(d.GetDlgItemText(Dlg::kWidthId), c.shownWidth);
            EXPECT_EQ(d.GetDlgItemText(Dlg::kHeightId), c.shownHeight);
            stayed = d.IsModalRunning();
            if (!stayed) return;
            d.ClickButton(IDOK);
            stayedAfterSecond = d.IsModalRunning();
        });
        EXPECT_EQ(stayed, c.staysOpen);
        EXPECT_EQ(result == IDOK, c.secondOkPasses);
        if (c.staysOpen) {
            EXPECT_EQ(stayedAfterSecond, !c.secondOkPasses);
        }
        if (result == IDOK) {
            EXPECT_EQ(dlg.m_nWidth, QString(c.shownWidth).toUInt());
            EXPECT_EQ(dlg.m_nHeight, QString(c.shownHeight).toUInt());
        }
    }
}

TEST_F(NewImageDlgTest, SizesAreLimitedByTheMaximumImageSize) {
    struct Case {
        int mapTool;
        const char* width;
        const char* height;
        const char* message;  // null: accepted
    };
    const Case cases[] = {
        {0, "2048", "2048", nullptr},
        {0, "1", "1", nullptr},
        {0, "2049", "16", "请输入一个介于 1 和 2048 之间的整数。"},
        {0, "16", "4096", "请输入一个介于 1 和 2048 之间的整数。"},
        {1, "4096", "4096", nullptr},
        {1, "4097", "16", "请输入一个介于 1 和 4096 之间的整数。"},
        {0, "0", "16", "请输入一个介于 1 和 2048 之间的整数。"},
        {0, "", "16", "请输入一个正整数。"},
        {0, "99999999999", "16", "请输入一个介于 1 和 2048 之间的整数。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.width) + " x " + c.height + " map tool " + std::to_string(c.mapTool));
        SetMapToolSetting(c.mapTool);
        boxes.Clear();
        Dlg dlg;
        int result = Run(dlg, [&](Dlg& d) {
            d.SetDlgItemText(Dlg::kWidthId, c.width);
            d.SetDlgItemText(Dlg::kHeightId, c.height);
            d.ClickButton(IDOK);
        });
        if (!c.message) {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(dlg.m_nWidth, QString(c.width).toUInt());
            EXPECT_EQ(dlg.m_nHeight, QString(c.height).toUInt());
            EXPECT_TRUE(Texts().empty());
        } else {
            EXPECT_EQ(result, IDCANCEL);  // it stayed open until the driver left
            EXPECT_EQ(Texts(), std::vector<std::string>{c.message});
        }
    }
}

TEST_F(NewImageDlgTest, PaletteFromAFileNeedsAFile) {
    Dlg dlg;
    int result = Run(dlg, [&](Dlg& d) {
        d.ClickButton(Dlg::kBrowseId);  // disabled: nothing happens
        EXPECT_EQ(app.prompts, 0);
        d.ClickButton(Dlg::kPaletteFileId);
        EXPECT_EQ(Dlg::Kept().paletteSource, Dlg::kPaletteFromFile);
        EXPECT_TRUE(d.GetDlgItem(Dlg::kBrowseId)->isEnabled());
        d.ClickButton(IDOK);
        EXPECT_TRUE(d.IsModalRunning());
        EXPECT_EQ(Texts(), std::vector<std::string>{"请参照文件"});

        d.ClickButton(Dlg::kBrowseId);  // cancelled
        EXPECT_TRUE(Dlg::Kept().palettePath.isEmpty());
        app.answer = "/pictures/palette.gif";
        d.ClickButton(Dlg::kBrowseId);
        EXPECT_EQ(app.prompts, 2);
        EXPECT_EQ(Dlg::Kept().palettePath, "/pictures/palette.gif");
        d.ClickButton(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Dlg::Kept().paletteSource, Dlg::kPaletteFromFile);
}

TEST_F(NewImageDlgTest, PaletteSourceRadiosAndColourMode) {
    const std::pair<int, int> radios[] = {
        {Dlg::kPaletteLastUsedId, Dlg::kPaletteLastUsed},
        {Dlg::kPaletteFileId, Dlg::kPaletteFromFile},
        {Dlg::kPaletteNoneId, Dlg::kPaletteNone},
    };
    Dlg dlg;
    int result = Run(dlg, [&](Dlg& d) {
        for (const auto& [id, source] : radios) {
            d.ClickButton(id);
            EXPECT_EQ(Dlg::Kept().paletteSource, source) << id;
            EXPECT_EQ(d.GetDlgItem(Dlg::kBrowseId)->isEnabled(), source == Dlg::kPaletteFromFile) << id;
        }
        d.ClickButton(Dlg::kMode16Id);
        d.ClickButton(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dlg.m_nColorMode, 1);
}

TEST_F(NewImageDlgTest, AChosenPresetFillsTheFields) {
    Dlg dlg;
    int result = Run(dlg, [](Dlg& d) {
        auto* presets = d.Item<QComboBox>(Dlg::kPresetListId);
        auto choose = [presets](int index) {
            presets->setCurrentIndex(index);
            emit presets->activated(index);
        };
        choose(1);  // "中", read after the skipped "-分隔"
        EXPECT_EQ(d.GetDlgItemText(Dlg::kWidthId), "32");
        EXPECT_EQ(d.GetDlgItemText(Dlg::kHeightId), "48");
        choose(2);
        EXPECT_EQ(d.GetDlgItemText(Dlg::kWidthId), "640");
        EXPECT_EQ(d.GetDlgItemText(Dlg::kHeightId), "400");
        choose(-1);
        EXPECT_EQ(d.GetDlgItemText(Dlg::kPresetListId), "指定特定尺寸");
        EXPECT_EQ(d.GetDlgItemText(Dlg::kWidthId), "640");
        d.ClickButton(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dlg.m_nWidth, 640u);
    EXPECT_EQ(dlg.m_nHeight, 400u);
}

TEST_F(NewImageDlgTest, WithoutMenuTxtTheListIsEmpty) {
    QFile::remove(dir.filePath("menu.txt"));
    Dlg dlg;
    int result = Run(dlg, [](Dlg& d) {
        EXPECT_EQ(d.Item<QComboBox>(Dlg::kPresetListId)->count(), 0);
        EXPECT_EQ(d.GetDlgItemText(Dlg::kPresetListId), "指定特定尺寸");
        d.ClickButton(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Texts(), std::vector<std::string>{"not file"});
    EXPECT_TRUE(Dlg::Kept().presets.empty());
}

TEST_F(NewImageDlgTest, TheColourButtonSetsTheKeptBackground) {
    std::optional<ChosenColor> answer;
    int asked = 0;
    SetColorChooser([&](QWidget*, ChosenColor& color) {
        ++asked;
        EXPECT_EQ(color.red, 1);  // opens on the kept colour
        if (answer) color = *answer;
        return bool(answer);
    });
    Dlg::Kept().background = {1, 2, 3, 4};
    Dlg dlg;
    int result = Run(dlg, [&](Dlg& d) {
        auto* button = d.Item<ColorButton>(Dlg::kBackColorId);
        d.ClickButton(Dlg::kBackColorId);  // cancelled
        EXPECT_EQ(button->Color().green, 2);
        answer = ChosenColor{1, 200, 100, 255};
        d.ClickButton(Dlg::kBackColorId);
        EXPECT_EQ(button->Color().green, 200);
        EXPECT_EQ(Dlg::Kept().background.alpha, 255);  // kept at once
        d.ClickButton(IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(dlg.m_BackColor.blue, 100);
    EXPECT_EQ(Dlg::Kept().background.blue, 100);
}

// A host whose work-memory probe gives the scripted answer.
class ProbeHost : public DialogHost {
public:
    int answer = 1;
    std::vector<int> probes;
    int ProbeWorkMemory(int mode) override {
        probes.push_back(mode);
        return answer;
    }
    void DeleteUnusedColors() override {}
    void PaletteChanged() override {}
    void RepaintActiveView() override {}
    void LayersChanged(CPelmarkDoc*) override {}
    void ImageDrawn() override {}
    void RefreshToolPalette() override {}
};

TEST_F(NewImageDlgTest, TheColourButtonAsksTheHostForWorkMemoryFirst) {
    ProbeHost host;
    DialogHost::Install(&host);
    int asked = 0;
    SetColorChooser([&](QWidget*, ChosenColor&) {
        ++asked;
        return false;
    });
    Dlg dlg;
    Run(dlg, [&](Dlg& d) {
        host.answer = 0;
        d.ClickButton(Dlg::kBackColorId);
        EXPECT_EQ(asked, 0);
        host.answer = 1;
        d.ClickButton(Dlg::kBackColorId);
        EXPECT_EQ(asked, 1);
        d.ClickButton(IDCANCEL);
    });
    DialogHost::Uninstall(&host);
    EXPECT_EQ(host.probes, (std::vector<int>{0, 0}));
}

}  // namespace
