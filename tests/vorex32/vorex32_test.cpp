// Vorex32.FLT through the real loading path: the library is loaded from the
// program directory, its exports are bound by name and called as the host
// calls them; the header dialog is driven by control id.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <map>
#include <sys/resource.h>

#include "framework/command_ids.h"
#include "framework/dialog.h"
#include "platform/memory.h"
#include "platform/message_box_recorder.h"
#include "platform/module.h"
#include "platform/window.h"
#include "platform/window_qt.h"
#include "plugin_api/plugin_api.h"
#include "plugins/vorex32/vrx_header_dialog.h"
#include "vrx_test_files.h"
#include "tests/support/file_size_limit.h"

namespace {

using vrxtest::Bytes;
using vrxtest::Poke;
using D = CVrxHeaderDialog;

class Vorex32 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        module_ = platform::Module(VOREX32_PATH);
        ASSERT_TRUE(module_) << ModLastError();
        hostWidget_ = std::make_unique<QWidget>();
        host_ = WinCreate(
            [](void* self, WinHandle, uint32_t message, WinWParam w, WinLParam) -> WinResult {
                if (message == WM_PLUGIN_STATUS) static_cast<Vorex32*>(self)->statuses_.push_back(int(w));
                return 0;
            },
            this);
        platform::WinSetWidget(host_, hostWidget_.get());
        blocksBefore_ = MemBlockCount();
    }
    void TearDown() override {
        if (image_.image) MemFree(image_.image);
        module_ = platform::Module();
        EXPECT_EQ(MemBlockCount(), blocksBefore_);
        WinDestroy(host_);
    }
    template <class F> F Export(const char* name) { return module_.symbol<F>(name); }
    std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }
    std::string Put(const char* name, const Bytes& bytes) const {
        std::ofstream(Path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
        return Path(name);
    }
    static Bytes Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    uint16_t Call(const char* name, const std::string& path) {
        PluginPathBufferSet(&pathBuffer_, path.c_str());
        statuses_.clear();
        return Export<PluginImportFn>(name)(host_, &pathBuffer_, &image_, VOREX32_PATH);
    }
    uint16_t Open(const std::string& path) {
        if (image_.image) MemFree(image_.image);
        image_ = PluginImage{};
        return Call("ImportGR", path);
    }
    // Writes the DIB with the options the dialog's driver sets (OK unless it
    // ends otherwise).
    uint16_t Save(const std::string& path, const Bytes& dib, framework::Dialog::ModalDriver driver = {}) {
        if (!driver) driver = [](framework::Dialog& d) { d.ClickButton(framework::IDOK); };
        framework::ScopedModalDriver scoped(driver);
        uint16_t code = Call("ImportDlgOut", path);
        if (code != PLUGIN_RESULT_OK) return code;
        MemHandle copy = MemAlloc(dib.size());
        {
            MemLockGuard lock(copy);
            std::memcpy(lock.get(), dib.data(), dib.size());
        }
        if (image_.image) MemFree(image_.image);
        image_ = PluginImage{copy, 256};
        code = Call("ImportGW", path);
        MemFree(copy);
        image_ = PluginImage{};
        return code;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& r : boxes_.Requests()) out.push_back(r.text);
        return out;
    }
    VrxFileHeader HeaderOf(const std::string& path) {
        Bytes b = Get(path);
        VrxFileHeader h{};
        if (b.size() >= sizeof h) std::memcpy(&h, b.data(), sizeof h);
        return h;
    }

    QTemporaryDir dir_;
    platform::Module module_;
    std::unique_ptr<QWidget> hostWidget_;
    WinHandle host_ = nullptr;
    std::vector<int> statuses_;
    PluginPathBuffer pathBuffer_{};
    PluginImage image_{};
    platform::MessageBoxRecorder boxes_;
    size_t blocksBefore_ = 0;
};

Bytes Dib8(int width = 8, int height = 4) {
    return vrxtest::MakeDib(width, height, 8, vrxtest::Palette(256), vrxtest::Pattern(width, height, 200));
}

TEST_F(Vorex32, ExportsAndInfo) {
    for (const char* name : {"ImportGW", "ImportGR", "GetInfo", "ImportDlgIn", "ImportDlgOut"})
        EXPECT_NE(module_.symbol<void (*)()>(name), nullptr) << name;
    EXPECT_EQ(module_.symbol<void (*)()>("GetFilterCheck"), nullptr);
    EXPECT_STREQ(Export<PluginGetInfoFn>("GetInfo")(), "VRX 文件(*.VRX)/*.VRX");
    EXPECT_EQ(Export<PluginImportDlgInFn>("ImportDlgIn")(host_, &pathBuffer_, &image_, VOREX32_PATH), 0);
}

TEST_F(Vorex32, OpensIndexedFilesWithTheirStatus) {
    Bytes dib = vrxtest::MakeDib(16, 3, 4, vrxtest::Palette(16), vrxtest::Pattern(16, 3, 16));
    ASSERT_EQ(Open(Put("a.vrx", vrxtest::WriteVrx(dib))), PLUGIN_RESULT_OK);
    EXPECT_EQ(statuses_, (std::vector<int>{PLUGIN_STATUS_READING, PLUGIN_STATUS_READ_DONE}));
    EXPECT_EQ(image_.colors, 16);
    MemLockGuard lock(image_.image);
    ASSERT_EQ(lock.size(), dib.size());
    EXPECT_EQ(std::memcmp(lock.get(), dib.data(), dib.size()), 0);
    EXPECT_TRUE(Texts().empty());
}

TEST_F(Vorex32, DirectColoursOpenAsTwentyFourBitsWithoutCount) {
    for (uint32_t type : {VRX_PIXELS_16BIT, VRX_PIXELS_24BIT, VRX_PIXELS_32BIT}) {
        ASSERT_EQ(Open(Put("d.vrx", vrxtest::DirectVrx(type, 4, 2, true))), PLUGIN_RESULT_OK) << type;
        EXPECT_EQ(image_.colors, 0);
        MemLockGuard lock(image_.image);
        EXPECT_EQ(lock.as<DibInfoHeader>()->bitCount, 24);
    }
}

TEST_F(Vorex32, BadFilesGiveTheirCodeAndMessage) {
    const Bytes good8 = vrxtest::WriteVrx(Dib8());
    const Bytes good4 = vrxtest::WriteVrx(vrxtest::MakeDib(8, 2, 4, vrxtest::Palette(16), vrxtest::Pattern(8, 2, 16)));
    const Bytes good16 = vrxtest::DirectVrx(VRX_PIXELS_16BIT, 4, 2, false);
    const uint32_t clutN = good8.size() > 112 ? *reinterpret_cast<const uint32_t*>(good8.data() + 96) : 0;
    const size_t pixelAt = 128 + clutN;
    auto with = [](Bytes b, auto edit) {
        edit(b);
        return b;
    };
    auto field = [&](const Bytes& base, size_t at, uint32_t value) {
        return with(base, [&](Bytes& b) { Poke(b, at, value); });
    };
    const char* w4 = "16 色数据的宽度不是 8 的倍数,无法读取。";
    const char* w8 = "256 色数据的宽度不是 4 的倍数,无法读取。";
    const char* w16 = "16bit 色数据的宽度不是 2 的倍数,无法读取。";
    struct Case {
        const char* name;
        Bytes file;
        uint16_t code;
        const char* message;
    };
    const Case cases[] = {
        {"truncated header", Bytes(good8.begin(), good8.begin() + 20), 2, nullptr},
        {"truncated image block", Bytes(good8.begin(), good8.begin() + 60), 2, nullptr},
        {"wrong magic", with(good8, [](Bytes& b) { b[3] = 'G'; }), 2, nullptr},
        {"width 0", field(good8, 52, 0), 2, nullptr},
        {"negative width", field(good8, 52, uint32_t(-8)), 2, nullptr},
        {"height 0", field(good8, 56, 0), 2, nullptr},
        {"negative height", field(good8, 56, 0x80000000u), 2, nullptr},
        {"width 4100", field(good8, 52, 4100), 5, nullptr},
        {"height 65536", field(good8, 56, 65536), 5, nullptr},
        {"overflowing product", field(field(good8, 52, 0x7FFFFFFC), 56, 0x7FFFFFFF), 5, nullptr},
        {"type 5", field(good8, 40, 5), 5, nullptr},
        {"type 0xFFFFFFFF", field(good8, 40, 0xFFFFFFFFu), 5, nullptr},
        {"4-bit width 12", field(good4, 52, 12), 2, w4},
        {"8-bit width 6", field(good8, 52, 6), 2, w8},
        {"16-bit width 3", field(good16, 52, 3), 2, w16},
        {"truncated CLUT block", Bytes(good8.begin(), good8.begin() + 100), 2, nullptr},
        {"entry type 3", field(good8, 88, 3), 2, nullptr},
        {"colours 17", field(good8, 100, 17), 2, nullptr},
        {"CLUT count 0", field(good8, 104, 0), 2, nullptr},
        {"CLUT count 2 of 256 32-bit entries", field(good8, 104, 2), 2, nullptr},
        {"CLUT byte count 3", field(good8, 96, 3), 2, nullptr},
        {"CLUT byte count past the end", field(good8, 96, 0xFFFFFFF0u), 2, nullptr},
        {"CLUT variant 7", with(good8, [](Bytes& b) { b[128] = 0xA7; }), 2, nullptr},
        {"pixel variant 31", with(good8, [&](Bytes& b) { b[pixelAt] = 0xBF; }), 2, nullptr},
        {"pixel count 0 compressed", field(good8, 48, 0), 2, nullptr},
        {"pixel distance 0", with(good8, [&](Bytes& b) { b.resize(pixelAt + 4); b.insert(b.end(), {0, 0, 0, 1, 0, 0}); b[pixelAt] = 0xA1; b[pixelAt + 3] = 6; Poke(b, 48, 10u); }), 2, nullptr},
        {"pixel copy cut by the end", with(good8, [&](Bytes& b) { b.resize(pixelAt + 4); b.insert(b.end(), {0, 0, 0, 1, 0}); b[pixelAt] = 0xA1; b[pixelAt + 3] = 5; Poke(b, 48, 9u); }), 2, nullptr},
        {"pixel count past the end", field(good8, 48, 0xFFFFFFFFu), 0, nullptr},
        {"pixel body past the end", with(good8, [&](Bytes& b) { b[pixelAt + 1] = 0x7F; }), 0, nullptr},
        {"raw data longer than the image", with(good16, [](Bytes& b) { b.insert(b.end(), 100, 0x55); Poke(b, 48, 116u); }), 0, nullptr},
        {"raw data shorter than the image", with(good16, [](Bytes& b) { b.resize(b.size() - 6); }), 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes_.Clear();
        const size_t blocks = MemBlockCount();
        EXPECT_EQ(Open(Put("bad.vrx", c.file)), c.code);
        if (c.message) {
            ASSERT_EQ(boxes_.Count(), 1u);
            EXPECT_EQ(boxes_.Requests()[0].text, c.message);
            EXPECT_EQ(boxes_.Requests()[0].caption, "エラー");
        } else {
            EXPECT_TRUE(Texts().empty());
        }
        if (c.code) {
            EXPECT_EQ(image_.image, nullptr);
            EXPECT_EQ(MemBlockCount(), blocks);
            EXPECT_EQ(statuses_.back(), PLUGIN_STATUS_CLEAR);
        }
    }
    // Raw data that stop short leave the rest 0.
    ASSERT_EQ(Open(Put("short.vrx", with(good16, [](Bytes& b) { b.resize(b.size() - 6); }))), 0);
    MemLockGuard lock(image_.image);
    const uint8_t* top = lock.get() + DIB_INFO_HEADER_SIZE;  // the bottom-up DIB's first row is the last
    EXPECT_EQ(top[0] | top[1] | top[2], 64 | 8);
    EXPECT_EQ(top[9] | top[10] | top[11], 0);
}

TEST_F(Vorex32, AMissingFileSetsTheStatusWord) {
    EXPECT_EQ(Open(Path("none.vrx")), PLUGIN_RESULT_CANNOT_OPEN);
    EXPECT_EQ(pathBuffer_.status, 1);
}

TEST_F(Vorex32, TheDialogRunsWithTheHostDisabledAndCancelSavesNothing) {
    bool hostEnabled = true, dialogEnabled = false;
    int entry = 0, csm = 0;
    std::string pixelPos;
    EXPECT_EQ(Save(Path("c.vrx"), Dib8(),
                   [&](framework::Dialog& d) {
                       EXPECT_EQ(d.TemplateId(), D::IDD);
                       EXPECT_EQ(d.windowTitle().toStdString(), "VRXファイルヘッダー");
                       hostEnabled = WinIsEnabled(host_);
                       dialogEnabled = d.isEnabled();
                       entry = d.GetCheckedRadioButton(D::IDC_ENTRY32, D::IDC_ENTRY16);
                       csm = d.GetCheckedRadioButton(D::IDC_CSM1, D::IDC_CSM2);
                       pixelPos = d.GetDlgItemText(D::IDC_PIXEL_POS).toStdString();
                       d.ClickButton(framework::IDCANCEL);
                   }),
              PLUGIN_RESULT_CANCELLED);
    EXPECT_FALSE(hostEnabled);
    EXPECT_TRUE(dialogEnabled);
    EXPECT_TRUE(WinIsEnabled(host_));
    EXPECT_EQ(entry, D::IDC_ENTRY32);
    EXPECT_EQ(csm, D::IDC_CSM1);
    EXPECT_EQ(pixelPos, "-1");
    EXPECT_TRUE(Texts().empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("c.vrx"))));
    // Without a driver a headless run ends as Cancel.
    EXPECT_EQ(Call("ImportDlgOut", Path("c.vrx")), PLUGIN_RESULT_CANCELLED);
}

TEST_F(Vorex32, TheEntryAndCsmButtonsGoTogether) {
    Save(Path("e.vrx"), Dib8(), [](framework::Dialog& d) {
        d.ClickButton(D::IDC_CSM2);
        EXPECT_EQ(d.GetCheckedRadioButton(D::IDC_ENTRY32, D::IDC_ENTRY16), D::IDC_ENTRY16);
        d.ClickButton(D::IDC_ENTRY32);
        EXPECT_EQ(d.GetCheckedRadioButton(D::IDC_CSM1, D::IDC_CSM2), D::IDC_CSM1);
        d.ClickButton(D::IDC_ENTRY16);
        EXPECT_EQ(d.GetCheckedRadioButton(D::IDC_CSM1, D::IDC_CSM2), D::IDC_CSM1);
        d.ClickButton(framework::IDOK);
    });
    Bytes file = Get(Path("e.vrx"));
    ASSERT_GE(file.size(), 128u);
    EXPECT_EQ(*reinterpret_cast<const uint32_t*>(file.data() + 88), uint32_t(VRX_ENTRY_16BIT));
}

TEST_F(Vorex32, BadFieldsAreRefilledAndKeepTheDialog) {
    struct Case {
        int id;
        const char* text;
        const char* message;
        const char* refill;
    };
    const Case cases[] = {
        {D::IDC_PIXEL_POS, "xyz", "PIXEL Vram位置には16進数か-1を入力してください。", "-1"},
        {D::IDC_PIXEL_POS, "100000000", "PIXEL Vram位置には16進数か-1を入力してください。", "-1"},
        {D::IDC_PIXEL_POS, "", "PIXEL Vram位置には16進数か-1を入力してください。", "-1"},
        {D::IDC_CLUT_POS, "-2", "CLUTL Vram位置には16進数か-1を入力してください。", "-1"},
        {D::IDC_LOD_L, "4", "LOD Lは0～3までの値を入力してください。", "0"},
        {D::IDC_LOD_K, "4096", "LOD Kは0～4095までの値を入力してください。", "0"},
        {D::IDC_LOD_K, "k", "LOD Kは0～4095までの値を入力してください。", "0"},
        {D::IDC_HEIGHT, "10001", "高さは0～10000度までの値を入力してください。", "0"},
        {D::IDC_SECOND_K, "-1", "LOD Kは0～4095までの値を入力してください。", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        boxes_.Clear();
        bool stayed = false;
        std::string refilled;
        EXPECT_EQ(Save(Path("f.vrx"), Dib8(),
                       [&](framework::Dialog& d) {
                           d.SetDlgItemText(c.id, QString::fromUtf8(c.text));
                           d.ClickButton(framework::IDOK);
                           stayed = d.isVisible();
                           refilled = d.GetDlgItemText(c.id).toStdString();
                           d.ClickButton(framework::IDCANCEL);
                       }),
                  PLUGIN_RESULT_CANCELLED);
        EXPECT_TRUE(stayed);
        EXPECT_EQ(refilled, c.refill);
        ASSERT_EQ(boxes_.Count(), 1u);
        EXPECT_EQ(boxes_.Requests()[0].text, c.message);
        EXPECT_EQ(boxes_.Requests()[0].caption, "エラー");
    }
}

TEST_F(Vorex32, HeaderOptionsAreWrittenAndPresetOnTheNextSave) {
    const std::string path = Path("h.vrx");
    ASSERT_EQ(Save(path, Dib8(),
                   [](framework::Dialog& d) {
                       d.CheckDlgButton(D::IDC_RESERVE, 0);
                       d.CheckDlgButton(D::IDC_DIST_ALPHA0, 1);
                       d.CheckDlgButton(D::IDC_Z_ONLY, 1);
                       d.ClickButton(1021);  // evening
                       d.ClickButton(D::IDC_LOD_FIXED);
                       d.SetDlgItemText(D::IDC_LOD_L, "2");
                       d.SetDlgItemText(D::IDC_LOD_K, "100");
                       d.SetDlgItemText(D::IDC_HEIGHT, "9000");
                       d.SetDlgItemText(D::IDC_SECOND_K, "7");
                       d.SetDlgItemText(D::IDC_PIXEL_POS, "1A2b");
                       d.SetDlgItemText(D::IDC_CLUT_POS, "FFFFFFFF");
                       d.CheckDlgButton(D::IDC_COMPRESS, 0);
                       d.ClickButton(framework::IDOK);
                   }),
              PLUGIN_RESULT_OK);
    EXPECT_EQ(statuses_, (std::vector<int>{PLUGIN_STATUS_COMPRESSING, PLUGIN_STATUS_WRITING, PLUGIN_STATUS_WRITE_DONE}));
    Bytes file = Get(path);
    ASSERT_GE(file.size(), 128u);
    VrxFileHeader h = HeaderOf(path);
    EXPECT_EQ(h.version, 170u);
    EXPECT_EQ(h.compressed, 0u);
    EXPECT_EQ(h.flags, VRX_FLAG_DIST_ALPHA0 | VRX_FLAG_Z_ONLY | 2u << 3 | VRX_FLAG_NEW_VERSION);
    EXPECT_EQ(h.lodMode, 1);
    EXPECT_EQ(h.lodL, 2);
    EXPECT_EQ(h.lodK, 100);
    EXPECT_EQ(h.height, 9000);
    EXPECT_EQ(h.secondK, 7);
    EXPECT_EQ(*reinterpret_cast<const int32_t*>(file.data() + 36), 0x1A2B);
    EXPECT_EQ(*reinterpret_cast<const int32_t*>(file.data() + 84), -1);

    // A fresh load presets every header field from the file; the positions
    // start at "-1" again.
    module_ = platform::Module(VOREX32_PATH);
    std::map<int, std::string> texts;
    std::map<int, int> checks;
    Save(path, Dib8(), [&](framework::Dialog& d) {
        for (int id : {int(D::IDC_LOD_L), int(D::IDC_LOD_K), int(D::IDC_HEIGHT), int(D::IDC_SECOND_K), int(D::IDC_PIXEL_POS)})
            texts[id] = d.GetDlgItemText(id).toStdString();
        for (int id : {int(D::IDC_RESERVE), int(D::IDC_Z_ONLY), int(D::IDC_DIST_ALPHA0), int(D::IDC_COMPRESS), int(D::IDC_LOD_FIXED), 1021})
            checks[id] = d.IsDlgButtonChecked(id);
        d.ClickButton(framework::IDCANCEL);
    });
    EXPECT_EQ(texts, (std::map<int, std::string>{{D::IDC_LOD_L, "2"}, {D::IDC_LOD_K, "100"}, {D::IDC_HEIGHT, "9000"},
                                                  {D::IDC_SECOND_K, "7"}, {D::IDC_PIXEL_POS, "-1"}}));
    EXPECT_EQ(checks, (std::map<int, int>{{D::IDC_RESERVE, 0}, {D::IDC_Z_ONLY, 1}, {D::IDC_DIST_ALPHA0, 1},
                                           {D::IDC_COMPRESS, 0}, {D::IDC_LOD_FIXED, 1}, {1021, 1}}));
    EXPECT_TRUE(Texts().empty());
}

TEST_F(Vorex32, OtherVersionsAreShownAndBecomeOneSeventy) {
    struct Case {
        uint32_t version;
        const char* message;
        uint32_t flags;  // written after OK
        int lodK, secondK, height;
    };
    const uint32_t keep = VRX_FLAG_NEW_VERSION;
    const Case cases[] = {
        {120, "このＶＲＸのバージョンはVer. 1.20です。\nVer. 1.70にアップします。", 3 | keep, 50, 3934, 0},
        {130, "このＶＲＸのバージョンはVer. 1.30です。\nVer. 1.70にアップします。", 1 | keep, 3934, 3934, 0},
        {50, "このＶＲＸのバージョンはVer. 1.00です。\nVer. 1.70にアップします。", 1 | keep, 3934, 3934, 0},
        {200, "このＶＲＸのバージョンはVer. 2.00です。\nVer. 1.70にダウンします。", 3 | 1u << 6 | keep, 50, 60, 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        boxes_.Clear();
        module_ = platform::Module(VOREX32_PATH);
        Bytes old = vrxtest::WriteVrx(Dib8());
        VrxFileHeader h{};
        std::memcpy(&h, old.data(), sizeof h);
        h.version = c.version;
        h.flags = 3 | 1u << 6 | 1u << 12;  // bits above 9 are nobody's
        h.lodK = 50;
        h.secondK = 60;
        h.height = 70;
        std::memcpy(old.data(), &h, sizeof h);
        const std::string path = Put("v.vrx", old);
        ASSERT_EQ(Save(path, Dib8()), PLUGIN_RESULT_OK);
        EXPECT_EQ(Texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(boxes_.Requests()[0].caption, "エラー");
        VrxFileHeader w = HeaderOf(path);
        EXPECT_EQ(w.version, 170u);
        EXPECT_EQ(w.flags, c.flags);
        EXPECT_EQ(w.lodK, c.lodK);
        EXPECT_EQ(w.secondK, c.secondK);
        EXPECT_EQ(w.height, c.height);
    }
}

TEST_F(Vorex32, ImagesTheFileCannotHoldAreRefused) {
    VrxWriteOptions multi;
    struct Case {
        const char* name;
        Bytes dib;
        bool multiClut;
        uint16_t code;
        const char* message;
    };
    Bytes core = Dib8();
    Poke(core, 0, 12u);
    Bytes rle = Dib8();
    Poke(rle, 16, 1u);
    const Case cases[] = {
        {"4-bit width 12", vrxtest::MakeDib(12, 2, 4, vrxtest::Palette(16), Bytes(24)), false, 2,
         "不能写入宽度不是 8 的倍数的 16 色数据到 vrx 中。"},
        {"8-bit width 6", Dib8(6, 2), false, 2, "不能写入宽度不是 4 的倍数的 256 色数据到 vrx 中。"},
        {"multi-CLUT 16 colours", vrxtest::MakeDib(8, 2, 4, vrxtest::Palette(16), Bytes(16)), true, 2,
         "maruchikuratto 只能以 256 色数据输出。"},
        {"multi-CLUT width 12", Dib8(12, 2), true, 2, "不能写入 maruchikuratto 的宽度不是 8 的倍数的 vrx。"},
        {"core header", core, false, 5, nullptr},
        {"compressed image", rle, false, 5, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes_.Clear();
        const std::string path = Path("r.vrx");
        EXPECT_EQ(Save(path, c.dib,
                       [&](framework::Dialog& d) {
                           d.CheckDlgButton(D::IDC_MULTI_CLUT, c.multiClut);
                           d.ClickButton(framework::IDOK);
                       }),
                  c.code);
        EXPECT_EQ(Texts(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
        EXPECT_EQ(statuses_.back(), PLUGIN_STATUS_CLEAR);
    }
}

TEST_F(Vorex32, AShortWriteRemovesThePartialFile) {
    const std::string path = Path("short.vrx");
    framework::ScopedModalDriver ok([](framework::Dialog& d) { d.ClickButton(framework::IDOK); });
    ASSERT_EQ(Call("ImportDlgOut", path), 0);
    Bytes dib = vrxtest::MakeDib(64, 64, 8, vrxtest::Palette(256), vrxtest::Random(64 * 64, 9));
    MemHandle copy = MemAlloc(dib.size());
    std::memcpy(MemLock(copy), dib.data(), dib.size());
    MemUnlock(copy);
    image_ = PluginImage{copy, 256};
    uint16_t code = kvtest::WithFileSizeLimit(1000, [&] { return Call("ImportGW", path); });
    MemFree(copy);
    image_ = PluginImage{};
    EXPECT_EQ(code, PLUGIN_RESULT_WRITE_ERROR);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
    EXPECT_EQ(statuses_.back(), PLUGIN_STATUS_CLEAR);
}

}  // namespace
