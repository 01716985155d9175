#include "framework/support_file_dialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "framework/application.h"
#include "framework/command_ids.h"
#include "framework/framework_strings.h"
#include "framework/mdi_frame.h"
#include "platform/message_box.h"

namespace dialogs {
namespace {

FileDialogService& Service() {
    static FileDialogService service;
    return service;
}

// Plug-in libraries carry their own copy of this library; the service set in
// the program is published on the application object so that the prompts of
// a loaded plug-in are answered by it too.
constexpr char kPublishedService[] = "kavolt.fileDialogService";

FileDialogService CurrentService() {
    if (Service()) return Service();
    if (!QCoreApplication::instance()) return {};
    auto* service = reinterpret_cast<FileDialogService*>(
        QCoreApplication::instance()->property(kPublishedService).value<quintptr>());
    return service ? *service : FileDialogService();
}

// The 1-based filter the Qt dialog ended on. Qt names the selected filter by
// the text it shows, which without details is the filter's own name.
int ChosenFilter(const QFileDialog& dialog, const FileDialogRequest& request) {
    QString selected = dialog.selectedNameFilter();
    for (size_t i = 0; i < request.filters.size(); ++i) {
        const FileFilter& f = request.filters[i];
        if (selected == QtNameFilter(f) || selected == f.name.simplified()) return int(i) + 1;
    }
    return request.filterIndex;
}

FileDialogAnswer RunQtDialog(const FileDialogRequest& request, QWidget* parent) {
    QFileDialog dialog(parent);
    ConfigureFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted) return FileDialogAnswer::Cancel();
    return FileDialogAnswer::Ok(dialog.selectedFiles(), ChosenFilter(dialog, request));
}

bool AskToReplace(const QString& path) {
    framework::Application* app = framework::Application::Instance();
    framework::MdiFrame* frame = app ? app->GetMainFrame() : nullptr;
    QString text = framework::FrameworkString(framework::IDS_ASK_TO_REPLACE).arg(path);
    QString caption = app ? app->AppName() : QString();
    return ShowMessageBox(frame ? frame->WindowHandle() : nullptr, text.toUtf8().constData(),
                          caption.toUtf8().constData(), MB_BTN_YESNO | MB_ICON_WARNING) == MB_ANSWER_YES;
}

}  // namespace

QString FirstExtension(const QString& patterns) {
    for (const QString& p : patterns.split(';', Qt::SkipEmptyParts)) {
        QString pattern = p.trimmed();
        if (!pattern.startsWith(QStringLiteral("*."))) continue;
        QString extension = pattern.mid(2);
        bool wildcard = extension.contains('*') || extension.contains('?') || extension.contains('[');
        if (!extension.isEmpty() && !wildcard) return extension;
    }
    return {};
}

QString SaveNameWithExtension(const QString& typed, const FileDialogRequest& request, int filterIndex) {
    if (!QFileInfo(typed).suffix().isEmpty() || typed.endsWith('/')) return typed;
    QString extension;
    if (filterIndex >= 1 && size_t(filterIndex) <= request.filters.size())
        extension = FirstExtension(request.filters[size_t(filterIndex) - 1].patterns);
    if (extension.isEmpty()) extension = request.defaultExt;
    if (extension.isEmpty()) return typed;
    return (typed.endsWith('.') ? typed : typed + '.') + extension;
}

FileDialogService SetFileDialogService(FileDialogService service) {
    FileDialogService previous = std::move(Service());
    Service() = std::move(service);
    if (QCoreApplication::instance())
        QCoreApplication::instance()->setProperty(
            kPublishedService, QVariant::fromValue(Service() ? quintptr(&Service()) : quintptr(0)));
    return previous;
}

std::vector<FileFilter> ParseFilterString(const QString& filter) {
    std::vector<FileFilter> filters;
    const QStringList parts = filter.split('|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].trimmed().isEmpty()) break;
        filters.push_back({parts[i].trimmed(), parts[i + 1].trimmed()});
    }
    return filters;
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
    // A name saved without an extension takes the chosen filter's, which
    // CSupportFileDialog adds (and asks about) after the dialog.
    if (request.open) dialog.setDefaultSuffix(request.defaultExt);
    // The names already hold their patterns; Qt shows them as they are.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
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
    paths_.clear();
    FileDialogAnswer answer;
    for (;;) {
        FileDialogService service = CurrentService();
        answer = service ? service(request) : RunQtDialog(request, parent_);
        if (!answer.ok || answer.paths.isEmpty()) return framework::IDCANCEL;
        if (open_) break;
        // The dialog asked about the name as typed; a name completed here is
        // asked about here, and No shows the dialog again.
        QString typed = answer.paths.front();
        QString path = SaveNameWithExtension(typed, request, answer.filterIndex);
        answer.paths.front() = path;
        if (path == typed || !(m_nFlags & OFN_OVERWRITEPROMPT) || !QFileInfo::exists(path) ||
            AskToReplace(path))
            break;
        QFileInfo shown(typed);
        request.fileName = shown.fileName();
        request.initialDir = shown.absolutePath();
        request.filterIndex = answer.filterIndex;
    }
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
