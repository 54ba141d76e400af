#include "Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <utility>

namespace platform {
namespace {

bool OpenWithDesktop(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

ShellOpenHandler& Handler()
{
    static ShellOpenHandler handler = OpenWithDesktop;
    return handler;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size()
        && QString::fromUtf8(s.data(), qsizetype(prefix.size())).compare(
               QString::fromUtf8(prefix.data(), qsizetype(prefix.size())), Qt::CaseInsensitive) == 0;
}

}  // namespace

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler)
{
    return std::exchange(Handler(), handler ? std::move(handler) : ShellOpenHandler(OpenWithDesktop));
}

QUrl ShellTargetToUrl(std::string_view target)
{
    const QString text = QString::fromUtf8(target.data(), qsizetype(target.size()));
    if (StartsWithNoCase(target, "file://")) {
        // The program forms these from raw paths: take the rest literally unless only
        // its percent-decoded form names something.
        const QString raw = text.mid(7);
        const QUrl parsed(text, QUrl::TolerantMode);
        if (!QFileInfo::exists(raw) && parsed.isValid() && QFileInfo::exists(parsed.toLocalFile()))
            return parsed;
        return QUrl::fromLocalFile(raw);
    }
    // A scheme of two or more letters; "C:" is a drive, not a scheme.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(text).hasMatch())
        return QUrl(text, QUrl::TolerantMode);
    return QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
}

std::intptr_t ShellExecuteA(HWND, const char* lpOperation, const char* lpFile, const char*, const char*, int)
{
    if (!lpFile || !*lpFile)
        return SE_ERR_FNF;
    if (lpOperation && *lpOperation && std::string_view(lpOperation) != "open")
        return SE_ERR_NOASSOC;
    const QUrl url = ShellTargetToUrl(lpFile);
    if (!url.isValid())
        return SE_ERR_FNF;
    return Handler()(url) ? 42 : SE_ERR_NOASSOC;
}

}  // namespace platform
