// Dialogs driven by control id: data exchange with validation, modal runs
// through the test driver, modeless dialogs.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "platform/message_box_recorder.h"

namespace {

using framework::ControlKind;
using framework::Dialog;
using framework::IDCANCEL;
using framework::IDOK;
using framework::Notify;

enum { kWidth = 1000, kSmooth = 1001, kLine = 1002, kRadial = 1003, kMode = 1004, kEcho = 1005 };

class SizeDlg : public Dialog {
public:
    SizeDlg() : Dialog(140) {
        CreateControls({
            {0, ControlKind::Label, "宽度", {10, 10, 40, 20}},
            {kWidth, ControlKind::Edit, "", {60, 10, 80, 22}},
            {kSmooth, ControlKind::CheckBox, "平滑", {10, 40, 80, 20}},
            {kLine, ControlKind::Radio, "直线", {10, 70, 80, 20}, true},
            {kRadial, ControlKind::Radio, "放射线", {10, 90, 80, 20}},
            {kMode, ControlKind::ComboBox, "", {10, 120, 100, 22}},
            {kEcho, ControlKind::Label, "", {120, 120, 100, 22}},
            {IDOK, ControlKind::DefPushButton, "确定", {10, 150, 70, 24}},
            {IDCANCEL, ControlKind::PushButton, "取消", {90, 150, 70, 24}},
        });
        Item<QComboBox>(kMode)->addItems({"普通", "透明"});
    }

    int width = 64;
    int smooth = 1;
    int shape = 1;
    int mode = 0;
    int initCalls = 0;
    int destroyCalls = 0;

protected:
    bool OnInitDialog() override {
        ++initCalls;
        return Dialog::OnInitDialog();
    }
    void OnDestroy() override { ++destroyCalls; }
    void DoDataExchange(framework::DataExchange& dx) override {
        dx.Text(kWidth, width);
        dx.MinMax(kWidth, width, 1, 20);
        dx.Check(kSmooth, smooth);
        dx.Radio(kLine, shape);
        dx.ComboIndex(kMode, mode);
    }
    void DeclareCommands(framework::CommandTable& t) override {
        t.OnNotify(kWidth, Notify::Changed, [this] { SetDlgItemText(kEcho, GetDlgItemText(kWidth)); });
        Dialog::DeclareCommands(t);
    }
};

TEST(Dialog, ControlsByIdAndInitialValues) {
    SizeDlg dlg;
    dlg.width = 12;
    std::vector<std::string> seen;
    framework::ScopedModalDriver driver([&](Dialog& d) {
        EXPECT_EQ(d.TemplateId(), 140);
        EXPECT_EQ(d.GetDlgItemInt(kWidth), 12);
        EXPECT_EQ(d.GetDlgItemText(kEcho), "12");  // the change notification ran
        EXPECT_EQ(d.IsDlgButtonChecked(kSmooth), 1);
        EXPECT_EQ(d.GetCheckedRadioButton(kLine, kRadial), kRadial);
        EXPECT_EQ(d.RadioGroupOf(kRadial), (std::vector<int>{kLine, kRadial}));
        d.CheckRadioButton(kLine, kRadial, kLine);
        EXPECT_EQ(d.IsDlgButtonChecked(kRadial), 0);
        d.CheckRadioButton(kLine, kRadial, 0);  // none
        EXPECT_EQ(d.GetCheckedRadioButton(kLine, kRadial), 0);
        d.EnableDlgItem(kSmooth, false);
        d.ClickButton(kSmooth);  // disabled: nothing happens
        EXPECT_EQ(d.IsDlgButtonChecked(kSmooth), 1);
        EXPECT_EQ(d.GetDlgItem(4242), nullptr);
        EXPECT_EQ(d.GetDlgCtrlID(d.GetDlgItem(kMode)), kMode);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.initCalls, 1);
    EXPECT_EQ(dlg.destroyCalls, 1);
}

TEST(Dialog, GetDlgItemIntParsesWholeNumbersOnly) {
    struct Case {
        const char* text;
        bool isSigned;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {"42", true, true, 42},     {" -7 ", true, true, -7},  {"-7", false, false, 0},
        {"12abc", true, false, 0},  {"", true, false, 0},      {"99999999999", true, false, 0},
        {"4294967295", false, true, -1},
    };
    SizeDlg dlg;
    for (const Case& c : cases) {
        dlg.SetDlgItemText(kWidth, c.text);
        bool ok = !c.ok;
        EXPECT_EQ(dlg.GetDlgItemInt(kWidth, &ok, c.isSigned), c.value) << c.text;
        EXPECT_EQ(ok, c.ok) << c.text;
    }
}

TEST(Dialog, OkValidatesAndRefusesUntilTheValuesPass) {
    SizeDlg dlg;
    platform::MessageBoxRecorder boxes;
    std::vector<bool> openAfterClick;
    framework::ScopedModalDriver driver([&](Dialog& d) {
        for (const char* text : {"99", "abc", "5"}) {
            d.SetDlgItemText(kWidth, text);
            d.ClickButton(IDOK);
            openAfterClick.push_back(d.IsModalRunning());
        }
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(openAfterClick, (std::vector<bool>{true, true, false}));
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Requests()[0].text, "请输入一个介于 1 和 20 之间的整数。");
    EXPECT_EQ(boxes.Requests()[1].text, "请输入一个整数。");
    EXPECT_EQ(dlg.width, 5);
}

TEST(Dialog, OkReadsEveryControl) {
    SizeDlg dlg;
    framework::ScopedModalDriver driver([](Dialog& d) {
        d.SetDlgItemInt(kWidth, 7);
        d.CheckDlgButton(kSmooth, 0);
        d.ClickButton(kLine);
        d.Item<QComboBox>(kMode)->setCurrentIndex(1);
        QTest::keyClick(&d, Qt::Key_Return);  // the default button
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.width, 7);
    EXPECT_EQ(dlg.smooth, 0);
    EXPECT_EQ(dlg.shape, 0);
    EXPECT_EQ(dlg.mode, 1);
}

TEST(Dialog, CancelLeavesTheMembers) {
    const std::vector<std::function<void(Dialog&)>> ways = {
        [](Dialog& d) { d.ClickButton(IDCANCEL); },
        [](Dialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](Dialog& d) { d.close(); },
        [](Dialog&) {},  // left open: ends as Cancel
    };
    for (size_t i = 0; i < ways.size(); ++i) {
        SizeDlg dlg;
        framework::ScopedModalDriver driver([&](Dialog& d) {
            d.SetDlgItemInt(kWidth, 3);
            ways[i](d);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << i;
        EXPECT_EQ(dlg.width, 64) << i;
        EXPECT_FALSE(dlg.isVisible()) << i;
    }
}

TEST(Dialog, ModalRunsCanRepeatAndNest) {
    SizeDlg outer;
    platform::MessageBoxRecorder boxes;
    int inner = 0;
    framework::ScopedModalDriver driver([&](Dialog& d) {
        if (&d == &outer) {
            SizeDlg nested;
            inner = nested.DoModal();
            d.SetDlgItemInt(kWidth, 9);
            d.ClickButton(IDOK);
        } else {
            d.ClickButton(IDOK);
        }
    });
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(inner, IDCANCEL);  // 64 is out of range: OK refused, left open
    EXPECT_EQ(outer.width, 9);
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(outer.initCalls, 2);
}

TEST(Dialog, Modeless) {
    SizeDlg dlg;
    dlg.width = 4;
    ASSERT_TRUE(dlg.Create());
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.GetDlgItemInt(kWidth), 4);
    dlg.SetDlgItemInt(kWidth, 6);
    dlg.ClickButton(IDOK);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.width, 6);
    EXPECT_TRUE(dlg.IsCreated());
    dlg.DestroyWindow();
    EXPECT_FALSE(dlg.IsCreated());
    EXPECT_EQ(dlg.destroyCalls, 1);
    ASSERT_TRUE(dlg.Create(nullptr, false));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.initCalls, 2);
}

}  // namespace
