// The editor started for real (application object, main frame, palettes)
// in its own program, settings and runtime directories, with every message
// box recorded.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "app/pelmark_app.h"
#include "frame/main_frame.h"
#include "platform/message_box_recorder.h"
#include "scoped_env.h"

class CPelmarkDoc;

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace frametest {

// The application with the paths it was asked to open recorded.
class RecordingApp : public CPelmarkApp {
public:
    std::vector<QString> opened;
    // Makes the main frame instead of the editor's own when set.
    std::function<CMainFrame*()> makeFrame;
    framework::Document* OpenDocumentFile(const QString& path) override;

protected:
    CMainFrame* CreateMainFrame() override;
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // pm32.ini of the program directory.
    void WriteIni(const QString& text);
    QString Ini(const QString& section, const QString& key) const;
    // Starts the editor (no files opened). COLOR.DIC is written into the
    // program directory first unless `dictionary` is null.
    bool Start(const char* dictionary = "\x1a");
    // The main frame Start makes, when set.
    std::function<CMainFrame*()> makeFrame;
    CMainFrame* Frame() const;
    // A document with a child frame and view, made without the new-image
    // dialog; `path` becomes its file when not empty.
    CPelmarkDoc* NewDocument(const QString& path = {});
    std::vector<std::string> BoxTexts() const;

    QTemporaryDir runtimeDir, configDir, programDir;
    std::unique_ptr<kvtest::ScopedEnv> runtimeEnv, configEnv;
    platform::MessageBoxRecorder boxes;
    std::unique_ptr<RecordingApp> app;
};

}  // namespace frametest
