#include "framework/support_file_dialog.h"

#include <QDir>
#include <QFileDialog>

#include "framework/command_ids.h"

namespace dialogs {
namespace {

FileDialogService& Service() {
    static FileDialogService service;
    return service;
}

FileDialogAnswer RunQtDialog(const FileDialogRequest& request, QWidget* parent) {
    QFileDialog dialog(parent);
    ConfigureFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted) return FileDialogAnswer::Cancel();
    int chosen = int(dialog.nameFilters().indexOf(dialog.selectedNameFilter()));
    return FileDialogAnswer::Ok(dialog.selectedFiles(), chosen >= 0 ? chosen + 1 : request.filterIndex);
}

}  // namespace

FileDialogService SetFileDialogService(FileDialogService service) {
    FileDialogService previous = std::move(Service());
    Service() = std::move(service);
    return previous;
}

QString QtNameFilter(const FileFilter& filter) {
    QStringList patterns = filter.patterns.split(';', Qt::SkipEmptyParts);
    return filter.name + QStringLiteral(" (") + patterns.join(' ') + ')';
}

void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(request.title);
    if (request.open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode((request.flags & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles
                                                                  : QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite,
                         !(request.flags & OFN_OVERWRITEPROMPT));
    }
    dialog.setDirectory(request.initialDir.isEmpty() ? QDir::currentPath() : request.initialDir);
    dialog.setDefaultSuffix(request.defaultExt);
    QStringList names;
    for (const FileFilter& f : request.filters) names.push_back(QtNameFilter(f));
    dialog.setNameFilters(names);
    if (request.filterIndex >= 1 && request.filterIndex <= names.size())
        dialog.selectNameFilter(names[request.filterIndex - 1]);
    // Extensions match in any case ("*.gif" finds "A.GIF").
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
}

CSupportFileDialog::CSupportFileDialog(bool open, const QString& defaultExt, const QString& fileName,
                                       unsigned flags, std::vector<FileFilter> filters,
                                       QWidget* parent)
    : m_nFlags(flags),
      open_(open),
      defaultExt_(defaultExt),
      fileName_(fileName),
      filters_(std::move(filters)),
      parent_(parent) {}

FileDialogRequest CSupportFileDialog::Request() const {
    FileDialogRequest r;
    r.open = open_;
    r.title = m_strTitle;
    r.fileName = fileName_;
    r.defaultExt = defaultExt_;
    r.initialDir = m_strInitialDir;
    r.flags = m_nFlags;
    r.filters = filters_;
    r.filterIndex = m_nFilterIndex;
    return r;
}

int CSupportFileDialog::DoModal() {
    FileDialogRequest request = Request();
    FileDialogAnswer answer =
        Service() ? Service()(request) : RunQtDialog(request, parent_);
    paths_.clear();
    if (!answer.ok || answer.paths.isEmpty()) return framework::IDCANCEL;
    paths_ = answer.paths;
    if (!(m_nFlags & OFN_ALLOWMULTISELECT)) paths_ = paths_.mid(0, 1);
    m_nFilterIndex = answer.filterIndex;
    return framework::IDOK;
}

FileDialogRecorder::FileDialogRecorder() : state_(std::make_shared<State>()) {
    previous_ = SetFileDialogService([state = state_](const FileDialogRequest& r) {
        state->requests.push_back(r);
        if (state->script.empty()) return FileDialogAnswer::Cancel();
        FileDialogAnswer a = state->script.front();
        state->script.pop_front();
        return a;
    });
}

FileDialogRecorder::FileDialogRecorder(std::initializer_list<FileDialogAnswer> answers)
    : FileDialogRecorder() {
    for (const FileDialogAnswer& a : answers) Script(a);
}

FileDialogRecorder::~FileDialogRecorder() { SetFileDialogService(std::move(previous_)); }

void FileDialogRecorder::Script(FileDialogAnswer answer) { state_->script.push_back(std::move(answer)); }

const std::vector<FileDialogRequest>& FileDialogRecorder::Requests() const { return state_->requests; }

}  // namespace dialogs
