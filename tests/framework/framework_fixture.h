// A small program on the framework for the tests: an application with a
// prompt that answers from a script, a main frame, and a template of
// documents, frames and views that log what happens to them.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <QString>
#include <QTemporaryDir>

#include "framework/application.h"
#include "framework/child_frame.h"
#include "framework/command.h"
#include "framework/doc_template.h"
#include "framework/document.h"
#include "framework/mdi_frame.h"
#include "framework/view.h"

namespace fwtest {

using framework::CommandId;
using framework::CommandTable;

// What the test objects did, in order ("doc:open a.kvt", "view:initial", ...).
std::vector<std::string>& Log();
bool Logged(const std::string& entry);

// Ids each kind of target takes (each logs "<who>:<id>"); set before the
// target first sees a command.
struct Handled {
    std::vector<CommandId> view, doc, frame, main, app;
};
Handled& HandledIds();
void AddLoggedHandlers(CommandTable& table, const char* who, const std::vector<CommandId>& ids);

class TestDoc : public framework::Document {
public:
    TestDoc();
    ~TestDoc() override;
    static int alive;

    bool OnNewDocument() override;
    // Fails for a missing file and for one whose text is "bad".
    bool OnOpenDocument(const QString& path) override;
    // Writes "saved" to the file; fails (after writing) while failSave is set.
    bool OnSaveDocument(const QString& path) override;
    void DeleteContents() override;

    static bool failNew;
    static bool failSave;

protected:
    void DeclareCommands(CommandTable& table) override;
};

class TestView : public framework::View {
public:
    TestView();
    ~TestView() override;
    static int alive;

    void OnInitialUpdate() override;
    void OnUpdate(framework::View* sender, intptr_t hint, void* hintObject) override;
    void OnActivateView(bool activate, framework::View* activated,
                        framework::View* deactivated) override;
    int updates = 0;
    intptr_t lastHint = 0;

protected:
    void DeclareCommands(CommandTable& table) override;
};

class TestFrame : public framework::ChildFrame {
public:
    TestFrame();
    ~TestFrame() override;
    static int alive;

protected:
    void DeclareCommands(CommandTable& table) override;
};

class TestMain : public framework::MdiFrame {
public:
    using MdiFrame::dropEvent;

protected:
    void DeclareCommands(CommandTable& table) override;
};

class TestApp : public framework::Application {
public:
    // Each prompt takes the next answer; an empty answer is Cancel.
    std::deque<QString> promptAnswers;
    std::vector<int> promptTitles;
    bool DoPromptFileName(QString& fileName, int titleId, bool open,
                          framework::DocTemplate* docTemplate) override;

protected:
    void DeclareCommands(CommandTable& table) override;
};

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A file in the test's directory; `text` is written unless null.
    QString MakeFile(const QString& name, const char* text = "image");
    QString PathOf(const QString& name) const;
    TestView* ViewOf(framework::Document* doc) const;
    // Runs deferred deletions and posted commands.
    static void Flush();

    QTemporaryDir dir;
    std::unique_ptr<TestApp> app;
    TestMain* main = nullptr;
    framework::DocTemplate* docTemplate = nullptr;
};

}  // namespace fwtest
