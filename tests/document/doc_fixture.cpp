#include "doc_fixture.h"

#include <QFile>

#include "framework/program_globals.h"
#include "document/image_limits.h"
#include "imaging/dib.h"
#include "document/working_palette.h"
#include "platform/memory.h"
#include "document/display_toggles.h"

namespace doctest {

namespace {

bool IsLayerDialog(int templateId) {
    return templateId == 226 || templateId == 227 || templateId == 228 || templateId == 290;
}

}  // namespace

void DocTest::SetUp() {
    app = std::make_unique<framework::Application>();
    app->SetAppName("Kavolt");
    frame = new CMainFrame;
    app->SetMainFrame(frame);
    CNewImageDlg::Kept() = {};
    previousProgramDir = GetProgramDirectory();
    QFile menu(programDir.filePath("menu.txt"));
    ASSERT_TRUE(menu.open(QIODevice::WriteOnly));
    menu.write("small 16 16\nwide 64 32\n");
    menu.close();
    SetProgramDirectory(programDir.path() + "/");
    ClearWorkingPalette();
    SwitchOffViewDisplayToggles();
    SetMapToolSetting(0);
    AnswerNewImage(nullptr);
}

void DocTest::TearDown() {
    newImageDriver.reset();
    SetProgramDirectory(previousProgramDir);
    MemSetLimit(MEM_NO_LIMIT);
    SetMapToolSetting(0);
    app.reset();
}

void DocTest::AnswerNewImage(std::function<void(CNewImageDlg&)> edit, int result) {
    newImageDriver.reset();
    newImageDriver.emplace([this, edit, result](framework::Dialog& d) {
        auto* dlg = dynamic_cast<CNewImageDlg*>(&d);
        if (!dlg) {
            // The layer dialogs take what they opened with.
            if (IsLayerDialog(d.TemplateId())) d.ClickButton(framework::IDOK);
            return;
        }
        ++dialogsShown;
        if (edit) edit(*dlg);
        dlg->EndDialog(result);
    });
}

std::unique_ptr<CPelmarkDoc> DocTest::NewDocument(bool* made) {
    auto doc = std::make_unique<CPelmarkDoc>();
    bool ok = doc->OnNewDocument();
    if (made) *made = ok;
    return doc;
}

std::unique_ptr<CPelmarkDoc> DocTest::DocumentWithImage(int width, int height) {
    auto doc = std::make_unique<CPelmarkDoc>();
    doc->m_hImage = CreateDib8(width, height, 0);
    EXPECT_TRUE(doc->InitDib());
    return doc;
}

RecordingFrame* DocTest::UseRecordingFrame() {
    auto* recording = new RecordingFrame;
    app->SetMainFrame(recording);
    frame = recording;
    return recording;
}

std::vector<std::string> DocTest::BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& r : boxes.Requests()) texts.push_back(r.text);
    return texts;
}

uint32_t EntryOf(MemHandle image, int index) {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    EXPECT_EQ(GetDibPaletteEntry(image, index, &r, &g, &b, &a), 1) << "entry " << index;
    return uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

}  // namespace doctest
