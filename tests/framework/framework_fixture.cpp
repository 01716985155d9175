#include "framework_fixture.h"

#include <algorithm>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace fwtest {

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

bool Logged(const std::string& entry) {
    return std::find(Log().begin(), Log().end(), entry) != Log().end();
}

Handled& HandledIds() {
    static Handled handled;
    return handled;
}

void AddLoggedHandlers(CommandTable& table, const char* who, const std::vector<CommandId>& ids) {
    for (CommandId id : ids) {
        std::string entry = std::string(who) + ":" + std::to_string(id);
        table.On(id, [entry] { Log().push_back(entry); });
    }
}

int TestDoc::alive = 0;
bool TestDoc::failNew = false;
bool TestDoc::failSave = false;

TestDoc::TestDoc() { ++alive; }
TestDoc::~TestDoc() { --alive; }

bool TestDoc::OnNewDocument() {
    if (failNew) return false;
    Log().push_back("doc:new");
    return Document::OnNewDocument();
}

bool TestDoc::OnOpenDocument(const QString& path) {
    Log().push_back("doc:open " + QFileInfo(path).fileName().toStdString());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.readAll() == "bad") return false;
    return Document::OnOpenDocument(path);
}

bool TestDoc::OnSaveDocument(const QString& path) {
    Log().push_back("doc:save " + QFileInfo(path).fileName().toStdString());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write("saved");
    file.close();
    if (failSave) return false;
    return Document::OnSaveDocument(path);
}

void TestDoc::DeleteContents() { Log().push_back("doc:delete-contents"); }

void TestDoc::DeclareCommands(CommandTable& table) {
    AddLoggedHandlers(table, "doc", HandledIds().doc);
    Document::DeclareCommands(table);
}

int TestView::alive = 0;
TestView::TestView() { ++alive; }
TestView::~TestView() { --alive; }

void TestView::OnInitialUpdate() {
    Log().push_back("view:initial");
    View::OnInitialUpdate();
}

void TestView::OnUpdate(framework::View* sender, intptr_t hint, void* hintObject) {
    ++updates;
    lastHint = hint;
    View::OnUpdate(sender, hint, hintObject);
}

void TestView::OnActivateView(bool activate, framework::View* activated,
                              framework::View* deactivated) {
    std::string title = GetDocument() ? GetDocument()->GetTitle().toStdString() : "-";
    Log().push_back((activate ? "view:activate " : "view:deactivate ") + title);
    View::OnActivateView(activate, activated, deactivated);
}

void TestView::DeclareCommands(CommandTable& table) {
    AddLoggedHandlers(table, "view", HandledIds().view);
    View::DeclareCommands(table);
}

int TestFrame::alive = 0;
TestFrame::TestFrame() { ++alive; }
TestFrame::~TestFrame() { --alive; }

void TestFrame::DeclareCommands(CommandTable& table) {
    AddLoggedHandlers(table, "frame", HandledIds().frame);
    ChildFrame::DeclareCommands(table);
}

void TestMain::DeclareCommands(CommandTable& table) {
    AddLoggedHandlers(table, "main", HandledIds().main);
    MdiFrame::DeclareCommands(table);
}

bool TestApp::DoPromptFileName(QString& fileName, int titleId, bool, framework::DocTemplate*) {
    promptTitles.push_back(titleId);
    if (promptAnswers.empty()) return false;
    QString answer = promptAnswers.front();
    promptAnswers.pop_front();
    if (answer.isEmpty()) return false;
    fileName = answer;
    return true;
}

void TestApp::DeclareCommands(CommandTable& table) {
    AddLoggedHandlers(table, "app", HandledIds().app);
    Application::DeclareCommands(table);
}

void FrameworkTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    Log().clear();
    HandledIds() = {};
    TestDoc::failNew = false;
    TestDoc::failSave = false;
    app = std::make_unique<TestApp>();
    app->SetAppName("Kavolt");
    main = new TestMain;
    main->resize(800, 600);
    app->SetMainFrame(main);
    auto t = framework::DocTemplate::Create<TestDoc, TestFrame, TestView>(129);
    t->SetDocName("Pic");
    docTemplate = app->AddDocTemplate(std::move(t));
}

void FrameworkTest::TearDown() {
    app.reset();
    Flush();
    EXPECT_EQ(TestDoc::alive, 0);
    EXPECT_EQ(TestView::alive, 0);
    EXPECT_EQ(TestFrame::alive, 0);
}

QString FrameworkTest::MakeFile(const QString& name, const char* text) {
    QString path = PathOf(name);
    if (text) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    return path;
}

QString FrameworkTest::PathOf(const QString& name) const { return dir.filePath(name); }

TestView* FrameworkTest::ViewOf(framework::Document* doc) const {
    return doc && !doc->GetViews().empty() ? static_cast<TestView*>(doc->GetViews().front())
                                           : nullptr;
}

void FrameworkTest::Flush() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace fwtest
