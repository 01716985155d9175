// A program around the plug-in host under test: an application with the
// editor's main frame, a program directory holding the test plug-ins a test
// chooses, a folder for files, and recorders for message boxes and file
// dialogs.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "framework/support_file_dialog.h"
#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "framework/application.h"
#include "platform/message_box_recorder.h"

namespace hosttest {

class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The application object the fixture runs (a plain framework one).
    virtual std::unique_ptr<framework::Application> MakeApplication();

    // Puts test plug-ins into the program directory, each under its own name
    // or, as "Built.FLT=Name.FLT", under another.
    void UsePlugins(const QStringList& names);
    // The program directory, ending in '/'.
    QString ProgramDir() const;

    // A file in the files folder with these contents; returns its path.
    QString WriteFile(const QString& name, const QByteArray& contents);
    QByteArray ReadFile(const QString& path) const;
    // Names in the files folder (hidden ones too).
    QStringList FilesHere() const;
    QString FilePath(const QString& name) const;

    // An 8-bit width x height document image with every pixel `pixel`, one
    // layer, made ready with InitDib.
    std::unique_ptr<CPelmarkDoc> DocumentWithImage(int width, int height, int pixel = 0);

    std::vector<std::string> BoxTexts() const;

    platform::MessageBoxRecorder boxes;
    dialogs::FileDialogRecorder dialogs;
    std::unique_ptr<framework::Application> app;
    CMainFrame* frame = nullptr;
    QTemporaryDir programDir;
    QTemporaryDir filesDir;
    size_t blocksAtStart = 0;
};

}  // namespace hosttest
