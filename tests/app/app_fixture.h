// The editor's application object under test: its own runtime, config,
// program and file directories, a main frame that logs the commands it is
// sent, and the document opens recorded.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "app/pelmark_app.h"
#include "frame/main_frame.h"
#include "scoped_env.h"

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace apptest {

class TestMainFrame : public CMainFrame {
public:
    bool minimise = false;
    std::vector<framework::CommandId>* sent = nullptr;
    bool LoadFrame() override;
    // Logs the watched commands the frame is sent, whoever handles them.
    bool RouteCommand(framework::CommandRequest& request) override;

protected:
    void DeclareCommands(framework::CommandTable& table) override;
};

class TestPelmarkApp : public CPelmarkApp {
public:
    // Every path the application asked the framework to open, in order.
    std::vector<QString> opened;
    // Commands the main frame received (palette commands, zoom, ...).
    std::vector<framework::CommandId> frameCommands;
    bool minimiseFrame = false;
    // When set, opens answer with this document instead of opening.
    framework::Document* fakeDocument = nullptr;

    // The open prompt's answer: the chosen files (put in the opened-paths
    // table when there are several); empty: Cancel.
    QStringList promptAnswer;

    // When set, scanned underlays come here (the callee owns the image).
    std::function<void(MemHandle)> underlayScanned;

    framework::Document* OpenDocumentFile(const QString& path) override;
    void SetUnderlayFromScan(MemHandle image) override;
    bool DoPromptFileName(QString& fileName, int titleId, bool open,
                          framework::DocTemplate* docTemplate) override;
    TestMainFrame* Frame() const;

protected:
    CMainFrame* CreateMainFrame() override;
};

using ScopedEnv = kvtest::ScopedEnv;

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes pm32.ini into the program directory.
    void WriteIni(const QString& text);
    // A file in the files directory (written unless `text` is null).
    QString MakeFile(const QString& name, const char* text = "GIF89a");
    // Makes the application and runs InitInstance with these arguments.
    bool Start(const QStringList& arguments = {});
    static void Flush();

    // Where Start has Qt's translation looked for (unset: Qt's own folder).
    std::optional<QString> qtTranslationsFolder;
    QTemporaryDir runtimeDir, configDir, programDir, filesDir;
    std::unique_ptr<ScopedEnv> runtimeEnv, configEnv;
    QString savedCwd;
    std::unique_ptr<TestPelmarkApp> app;
};

}  // namespace apptest
