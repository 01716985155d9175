// The program's open and save file dialog.
//
// A dialog is set up like the platform's file dialog (open or save, default
// extension, initial file name, flags, filter pairs) plus the title and the
// initial directory the prompts give it, then run with DoModal. The dialog is
// a QFileDialog; tests install a FileDialogRecorder instead, which logs every
// request and answers from a script, so no test ever waits on a dialog.
//
//   dialogs::FileDialogRecorder dialogs({dialogs::FileDialogAnswer::Ok({"/tmp/a.gif"})});
//   ... code that prompts ...
//   EXPECT_EQ(dialogs.Requests().at(0).filters.size(), 3u);
#pragma once

#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace dialogs {

// Flags of a file dialog.
enum : unsigned {
    OFN_OVERWRITEPROMPT = 0x2,
    OFN_HIDEREADONLY = 0x4,
    OFN_ALLOWMULTISELECT = 0x200,
    OFN_PATHMUSTEXIST = 0x800,
    OFN_FILEMUSTEXIST = 0x1000,
};

// One filter: the text shown and its patterns separated by ';'.
struct FileFilter {
    QString name;
    QString patterns;
};

// Everything a dialog was asked to show.
struct FileDialogRequest {
    bool open = true;
    QString title;
    QString fileName;       // initial file name
    QString defaultExt;     // without the dot; added to a name typed without one
    QString initialDir;     // empty: the current directory
    unsigned flags = 0;
    std::vector<FileFilter> filters;
    int filterIndex = 1;    // 1-based, as the platform counts
};

// The user's answer: OK with the chosen paths (several with multiple
// selection) and the filter in use, or Cancel.
struct FileDialogAnswer {
    bool ok = false;
    QStringList paths;
    int filterIndex = 1;

    static FileDialogAnswer Ok(QStringList paths, int filterIndex = 1) {
        return {true, std::move(paths), filterIndex};
    }
    static FileDialogAnswer Cancel() { return {}; }
};

using FileDialogService = std::function<FileDialogAnswer(const FileDialogRequest&)>;
// Installs a service (an empty function restores the QFileDialog). Returns
// the previous one.
FileDialogService SetFileDialogService(FileDialogService service);

// The filters of the platform's "name|patterns|name|patterns|" string, blanks
// around each part dropped; an empty name ends the list.
std::vector<FileFilter> ParseFilterString(const QString& filter);

// Sets a QFileDialog up for a request (also used by the program's own
// service): mode, title, directory, file name, default suffix, filters
// (pattern matching ignores case), selected filter.
void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request);
// A filter as Qt writes it: "name (*.a *.b)". The dialog shows only the
// name, which already holds its patterns ("gif 文件(*.gif)").
QString QtNameFilter(const FileFilter& filter);

// The first extension of a pattern list ("*.gif;*.png" gives "gif"); empty
// when no pattern names one ("*.*").
QString FirstExtension(const QString& patterns);
// The name a save dialog ends with: a name typed without an extension takes
// the first extension of the chosen filter (1-based), or the request's
// default extension when that filter names none; a name with an extension
// stays as typed.
QString SaveNameWithExtension(const QString& typed, const FileDialogRequest& request, int filterIndex);

class CSupportFileDialog {
public:
    CSupportFileDialog(bool open, const QString& defaultExt, const QString& fileName,
                       unsigned flags, std::vector<FileFilter> filters, QWidget* parent = nullptr);

    // The fields the prompts set before DoModal.
    QString m_strTitle;
    QString m_strInitialDir;
    int m_nFilterIndex = 1;
    unsigned m_nFlags = 0;

    // IDOK or IDCANCEL. A save without an extension gets the chosen
    // filter's (SaveNameWithExtension); when that file exists and
    // OFN_OVERWRITEPROMPT is set, the user is asked first and No shows the
    // dialog again.
    int DoModal();

    // After OK: the first chosen path, every chosen path, the filter in use.
    QString GetPathName() const { return paths_.isEmpty() ? QString() : paths_.front(); }
    const QStringList& GetPathNames() const { return paths_; }
    int GetFilterIndex() const { return m_nFilterIndex; }
    FileDialogRequest Request() const;

private:
    bool open_;
    QString defaultExt_;
    QString fileName_;
    std::vector<FileFilter> filters_;
    QWidget* parent_;
    QStringList paths_;
};

// A file-dialog service for tests; installs itself while it lives (recorders
// nest). When the script is used up every further dialog is cancelled.
class FileDialogRecorder {
public:
    FileDialogRecorder();
    explicit FileDialogRecorder(std::initializer_list<FileDialogAnswer> answers);
    ~FileDialogRecorder();
    FileDialogRecorder(const FileDialogRecorder&) = delete;
    FileDialogRecorder& operator=(const FileDialogRecorder&) = delete;

    void Script(FileDialogAnswer answer);
    const std::vector<FileDialogRequest>& Requests() const;

private:
    struct State {
        std::vector<FileDialogRequest> requests;
        std::deque<FileDialogAnswer> script;
    };
    std::shared_ptr<State> state_;
    FileDialogService previous_;
};

}  // namespace dialogs
