// The application object: one per program (Application::Instance()), the
// last target on every command route. It holds the document templates and
// the main frame, opens documents, keeps the profile (settings) file and the
// framework's recent-file list, and runs idle work.
//
// The program's main():
//   QApplication qt(argc, argv);
//   EditorApp app;          // derives from framework::Application
//   return app.Run();       // InitInstance, event loop, ExitInstance
//
// Commands of its table: File New, File Open, App Exit.
#pragma once

#include <memory>
#include <vector>

#include <QPointer>
#include <QString>
#include <QTimer>

#include "framework/command.h"
#include "framework/recent_file_list.h"

namespace framework {

class DocTemplate;
class Document;
class MdiFrame;

class Application : public CommandTarget {
public:
    Application();
    ~Application() override;

    // The application object, or null while there is none.
    static Application* Instance();
    // Counts applications and settings files: it changes whenever a new
    // application starts or its settings file is set, so values read from
    // the settings can tell that they were read for another one.
    static unsigned SettingsGeneration();

    // Start-up; false ends the program before the event loop.
    virtual bool InitInstance();
    // End; the default writes the recent-file list. Returns the exit code.
    virtual int ExitInstance();
    // Idle work, called with count 0, 1, ... while it returns true (at most
    // a few rounds per idle moment). The default refreshes the main frame's
    // toolbars and bars at count 0 and returns false.
    virtual bool OnIdle(int count);

    // InitInstance, the event loop, ExitInstance.
    int Run();
    // One idle moment: OnIdle(0), OnIdle(1), ... The event loop calls it when
    // it is about to wait after handling events; while the last OnIdle of a
    // moment still asks for more, the next moment comes after the idle
    // interval. Nothing runs while nothing is pending. Tests may call it
    // directly.
    void RunIdle();
    // Time before an idle moment that a handler asked for, or that a timer's
    // tick made due (default 100 ms).
    void SetIdleInterval(int ms);

    // The main frame; the application deletes it when it goes.
    void SetMainFrame(MdiFrame* frame);
    MdiFrame* GetMainFrame() const;

    DocTemplate* AddDocTemplate(std::unique_ptr<DocTemplate> docTemplate);
    const std::vector<std::unique_ptr<DocTemplate>>& DocTemplates() const { return templates_; }
    // Every open document of every template.
    std::vector<Document*> Documents() const;

    // File New: a new document from the first template.
    virtual void OnFileNew();
    // File Open: DoPromptFileName, then OpenDocumentFile.
    virtual void OnFileOpen();
    // App Exit: a close request to the main frame.
    virtual void OnAppExit();

    // Opens a document; a path that is already open activates that document
    // instead. The template is the first whose extensions match. Null on
    // failure (and for an empty path: File New makes new documents).
    virtual Document* OpenDocumentFile(const QString& path);
    // Opens a file the user named (a recent file, a path handed over by a
    // plug-in); the default is OpenDocumentFile, the program records the
    // path as well.
    virtual Document* OpenDocumentByName(const QString& path);
    // Closes the active document (File Close to the main frame), then opens
    // the path by name.
    Document* ReopenDocument(const QString& path);

    // Asks for a file name (open or save) and puts it in `fileName`, which
    // comes in as the proposed name; false when the user cancels. The
    // default has no dialog and answers false: the program puts its file
    // dialog here.
    virtual bool DoPromptFileName(QString& fileName, int titleId, bool open,
                                  DocTemplate* docTemplate);

    bool SaveAllModified();
    void CloseAllDocuments();

    // Name used as the caption of the framework's message boxes.
    void SetAppName(const QString& name) { appName_ = name; }
    const QString& AppName() const { return appName_; }

    // The settings file every profile call reads and writes.
    void SetProfileFile(const QString& path);
    const QString& ProfileFile() const { return profileFile_; }
    int GetProfileInt(const QString& section, const QString& key, int def) const;
    QString GetProfileString(const QString& section, const QString& key,
                             const QString& def = {}) const;
    bool WriteProfileInt(const QString& section, const QString& key, int value) const;
    bool WriteProfileString(const QString& section, const QString& key,
                            const QString& value) const;
    bool DeleteProfileKey(const QString& section, const QString& key) const;
    bool DeleteProfileSection(const QString& section) const;

    // The framework's recent-file list ("Recent File List", File1..FileN):
    // made and read from the profile file by LoadStdProfileSettings, written
    // by SaveStdProfileSettings (ExitInstance does).
    void LoadStdProfileSettings(int maxRecentFiles = 4);
    void SaveStdProfileSettings();
    void AddToRecentFileList(const QString& path);
    RecentFileList* GetRecentFileList() const { return recent_.get(); }

protected:
    void DeclareCommands(CommandTable& table) override;

private:
    std::vector<std::unique_ptr<DocTemplate>> templates_;
    QPointer<MdiFrame> mainFrame_;
    QString appName_;
    QString profileFile_;
    std::unique_ptr<RecentFileList> recent_;
    class IdleWatch;
    std::unique_ptr<IdleWatch> idle_;
};

}  // namespace framework
