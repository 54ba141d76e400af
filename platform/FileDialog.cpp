#include "FileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include <cstring>
#include <utility>

namespace platform {
namespace {

thread_local DWORD t_lastError = 0;

QString CaseFreePattern(const QString& pattern)
{
    if (pattern == QLatin1String("*.*"))
        return QStringLiteral("*");
    QString out;
    for (const QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            out += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            out += c;
    }
    return out;
}

std::optional<FileDialogAnswer> ShowQtFileDialog(const FileDialogRequest& request)
{
    QFileDialog dialog(request.owner, QString::fromStdString(request.title));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.flags & OFN_FILEMUSTEXIST ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QFileDialog::Options options = QFileDialog::HideNameFilterDetails;
    if (request.save && !(request.flags & OFN_OVERWRITEPROMPT))
        options |= QFileDialog::DontConfirmOverwrite;
    dialog.setOptions(options);

    QStringList filters;
    for (const auto& f : request.filters)
        filters << QtNameFilter(f);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(request.filter));
    }
    if (!request.initialDir.empty())
        dialog.setDirectory(QString::fromStdString(request.initialDir));
    if (!request.initialFile.empty()) {
        const QFileInfo start(QString::fromStdString(request.initialFile));
        if (start.isDir()) {
            dialog.setDirectory(start.absoluteFilePath());
        } else {
            if (start.absoluteDir().exists())
                dialog.setDirectory(start.absolutePath());
            dialog.selectFile(start.fileName());
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileDialogAnswer{dialog.selectedFiles().first().toStdString(),
                            int(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())))};
}

FileDialogHandler& Handler()
{
    static FileDialogHandler handler = ShowQtFileDialog;
    return handler;
}

BOOL RunFileDialog(OPENFILENAMEA* ofn, bool save)
{
    t_lastError = 0;
    if (!ofn || !ofn->lpstrFile || ofn->nMaxFile == 0) {
        t_lastError = CDERR_INITIALIZATION;
        return 0;
    }
    const std::size_t startLen = ::strnlen(ofn->lpstrFile, ofn->nMaxFile);
    if (startLen == ofn->nMaxFile) {  // the starting name does not fit its own buffer
        t_lastError = FNERR_INVALIDFILENAME;
        return 0;
    }

    FileDialogRequest request;
    request.save = save;
    request.owner = ofn->hwndOwner;
    request.title = ofn->lpstrTitle ? ofn->lpstrTitle : (save ? "Save As" : "Open");
    request.filters = ParseFilterList(ofn->lpstrFilter);
    request.filter = (ofn->nFilterIndex >= 1 && ofn->nFilterIndex <= request.filters.size())
        ? int(ofn->nFilterIndex) - 1 : 0;
    request.initialFile.assign(ofn->lpstrFile, startLen);
    request.initialDir = ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "";
    request.flags = ofn->Flags;

    const std::optional<FileDialogAnswer> answer = Handler()(request);
    if (!answer)
        return 0;
    const QFileInfo chosen(QString::fromStdString(answer->path));
    if (answer->path.empty()
        || ((ofn->Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) && !chosen.absoluteDir().exists())
        || ((ofn->Flags & OFN_FILEMUSTEXIST) && !chosen.exists())) {
        t_lastError = FNERR_INVALIDFILENAME;
        return 0;
    }
    if (answer->path.size() + 1 > ofn->nMaxFile) {
        t_lastError = FNERR_BUFFERTOOSMALL;
        return 0;
    }
    std::memcpy(ofn->lpstrFile, answer->path.c_str(), answer->path.size() + 1);
    if (!request.filters.empty())
        ofn->nFilterIndex = DWORD(answer->filter) + 1;
    return 1;
}

}  // namespace

FileDialogHandler SetFileDialogHandler(FileDialogHandler handler)
{
    return std::exchange(Handler(), handler ? std::move(handler) : FileDialogHandler(ShowQtFileDialog));
}

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn)
{
    return RunFileDialog(ofn, false);
}

BOOL GetSaveFileNameA(OPENFILENAMEA* ofn)
{
    return RunFileDialog(ofn, true);
}

DWORD CommDlgExtendedError()
{
    return t_lastError;
}

std::vector<FileFilter> ParseFilterList(const char* list)
{
    std::vector<FileFilter> filters;
    while (list && *list) {
        FileFilter f;
        f.shown = list;
        list += f.shown.size() + 1;
        f.pattern = list;
        list += f.pattern.size() + 1;
        if (f.pattern.empty())
            break;  // a text without its pattern ends the list
        filters.push_back(std::move(f));
    }
    return filters;
}

QString QtNameFilter(const FileFilter& filter)
{
    QStringList patterns;
    for (const QString& p : QString::fromStdString(filter.pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts))
        patterns << CaseFreePattern(p.trimmed());
    return QString::fromStdString(filter.shown) + QStringLiteral(" (") + patterns.join(QLatin1Char(' '))
        + QLatin1Char(')');
}

}  // namespace platform
