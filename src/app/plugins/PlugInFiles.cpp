#include "app/plugins/PlugInFiles.h"

#include "app/shell/AppPaths.h"
#include "app/plugins/MakerLinks.h"

#include "platform/core/files/AtomicFileStream.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QUrl>

#include <algorithm>

namespace {

bool EndsWithVbs(const QString& name)
{
    return name.endsWith(QStringLiteral(".vbs"), Qt::CaseInsensitive);
}

// The existing entry `name` that is no folder, beside the executable first, then as it stands.
QString FindPlugInFile(const QString& name)
{
    for (const QString& candidate : {AppDir() + QLatin1Char('/') + name, name}) {
        const QString found = ExistingPathIgnoringCase(candidate);
        if (!found.isEmpty() && !QFileInfo(found).isDir()) {
            return QFileInfo(found).absoluteFilePath();
        }
    }
    return {};
}

// Markup characters and everything beyond ASCII as character references, so the page
// reads the same in any character set.
QString HtmlEscaped(const QString& text)
{
    QString escaped;
    for (const char32_t c : text.toUcs4()) {
        switch (c) {
        case U'&': escaped += QStringLiteral("&amp;"); break;
        case U'<': escaped += QStringLiteral("&lt;"); break;
        case U'>': escaped += QStringLiteral("&gt;"); break;
        case U'"': escaped += QStringLiteral("&quot;"); break;
        default:
            if (c < 0x80) {
                escaped += QChar(static_cast<char16_t>(c));
            } else {
                escaped += QStringLiteral("&#%1;").arg(static_cast<uint>(c));
            }
        }
    }
    return escaped;
}

} // namespace

QString PlugInFolder()
{
    return AppDir() + QStringLiteral("/plugins");
}

TPlugInOpen PlugInOpenKind(const QString& fileName)
{
    const QFileInfo info(fileName);
    if (fileName.endsWith(QStringLiteral(".exe")) || (info.isFile() && info.isExecutable())) {
        return TPlugInOpen::Start;
    }
    return TPlugInOpen::Navigate;
}

bool StartPlugInProgram(const QString& fileName, const QString& busName)
{
    QProcess process;
    process.setProgram(fileName);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!busName.isEmpty()) {
        environment.insert(QStringLiteral("KERFPAD_BUS_NAME"), busName);
    }
    process.setProcessEnvironment(environment);
    return process.startDetached();
}

QString ExistingPathIgnoringCase(const QString& path)
{
    if (path.isEmpty()) {
        return {};
    }
    if (QFileInfo::exists(path)) {
        return path;
    }
    const bool absolute = path.startsWith(QLatin1Char('/'));
    QString found = absolute ? QStringLiteral("/") : QString();
    for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const QString candidate = found + part;
        if (QFileInfo::exists(candidate.isEmpty() ? QStringLiteral(".") : candidate)) {
            found = candidate + QLatin1Char('/');
            continue;
        }
        const QDir folder(found.isEmpty() ? QStringLiteral(".") : found);
        const QStringList entries =
            folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        const auto match = std::find_if(entries.begin(), entries.end(), [&](const QString& entry) {
            return entry.compare(part, Qt::CaseInsensitive) == 0;
        });
        if (match == entries.end()) {
            return {};
        }
        found += *match + QLatin1Char('/');
    }
    found.chop(1);
    return found;
}

TPlugInPage ResolvePlugInPage(const QString& fileName)
{
    const QString name = QString(fileName).replace(QLatin1Char('\\'), QLatin1Char('/'));
    TPlugInPage page;
    if (!EndsWithVbs(name)) {
        page.FileName = FindPlugInFile(name);
        return page;
    }
    const QString stem = name.left(name.size() - 4);
    for (const QString& extension : {QStringLiteral(".html"), QStringLiteral(".htm")}) {
        page.FileName = FindPlugInFile(stem + extension);
        if (!page.FileName.isEmpty()) {
            return page;
        }
    }
    page.ScriptOnly = !FindPlugInFile(name).isEmpty();
    return page;
}

QStringList OfflineListingEntries(const QString& folder)
{
    QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::NoSort);
    entries.removeAll(OfflineListingTitle);
    // By code point: the same order in every locale.
    std::sort(entries.begin(), entries.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseSensitive) < 0; });
    return entries;
}

QByteArray OfflineListingText(const QString& homeAddress, const QStringList& entries)
{
    QString text = QStringLiteral("<html xmlns=\"http://www.w3.org/1999/xhtml\" >\r\n"
                                  "    <title>PlugIn Directory Listing</title>\r\n"
                                  "</head>\r\n"
                                  "<body>\r\n"
                                  "    <strong>Unable to connect to ") +
                   HtmlEscaped(homeAddress) +
                   QStringLiteral("<br />Manually generated a list of local plugins below:</strong><br /><br />\r\n"
                                  "    <ul>\r\n");
    for (const QString& entry : entries) {
        text += QStringLiteral("<li><a href=\"") + QString::fromLatin1(QUrl::toPercentEncoding(entry)) +
                QStringLiteral("\">") + HtmlEscaped(entry) + QStringLiteral("</a></li>");
    }
    text += QStringLiteral("    </ul></body></html>");
    return text.toLatin1();
}

QString WriteOfflineListingFile(const QString& folder, const QString& homeAddress)
{
    const QString fileName = folder + QLatin1Char('/') + OfflineListingTitle;
    const QByteArray text = OfflineListingText(homeAddress, OfflineListingEntries(folder));
    TAtomicFileStream file(fileName.toStdString());
    file.WriteBuffer(text.constData(), text.size());
    file.Commit();
    return fileName;
}

QString PlugInSubmissionMailUrl()
{
    return MailtoUrl(PlugInSubmissionAddress, QStringLiteral("Kerfpad-User-PlugIn"),
                     {QStringLiteral("Name: "), QStringLiteral("Short Description: "),
                      QStringLiteral("Long Description: "), QString(),
                      QStringLiteral("Special Notes/Examples/Usage: "), QString(), QString(),
                      QStringLiteral("(remember to attach plugin file)")});
}
