#pragma once
// The plug-in window's rules that need no window: how a chosen plug-in opens, where a
// single page is found, and the listing of the plug-in folder shown when the maker's
// plug-in page cannot be reached.

#include <QByteArray>
#include <QString>
#include <QStringList>

// The folder of the plug-ins beside the executable.
QString PlugInFolder();
inline const QString OfflineListingTitle = QStringLiteral("tmpdirlisting.html");

// A plug-in program is a file with the executable bit or a name ending in exactly
// ".exe"; it is started. Any other name goes to the browser, so "TOOL.EXE" without the
// executable bit is navigated to.
enum class TPlugInOpen { Start, Navigate };
TPlugInOpen PlugInOpenKind(const QString& fileName);

// Starts a plug-in program detached, with the automation bus's service name in its
// environment (KERFPAD_BUS_NAME, left out when `busName` is empty); false when it
// could not be started.
bool StartPlugInProgram(const QString& fileName, const QString& busName);

// The page a single-page plug-in shows (a name that is no regular file included, for
// PlugInPageRefusal of platform/gui/automation/PlugInWebPage.h to refuse). The name is taken beside the executable first, then as
// it stands, "\" read as "/" and letter case ignored. VBScript cannot run here:
// for a ".vbs" name the page of the same name with ".html", then ".htm", stands in.
struct TPlugInPage {
    // The page's full name; empty when there is none.
    QString FileName;
    // No page, but the ".vbs" script itself exists.
    bool ScriptOnly = false;
};
TPlugInPage ResolvePlugInPage(const QString& fileName);

// `path` when it exists, else the path whose every part matches a folder entry without
// regard to letter case; empty when there is none.
QString ExistingPathIgnoringCase(const QString& path);

// The folder's entries as listed: files and sub-folders, hidden ones, "." and ".." and
// the listing itself left out, sorted by name.
QStringList OfflineListingEntries(const QString& folder);
// The listing page: a fixed head naming `homeAddress`, one link per entry (the name
// HTML-escaped, the link percent-encoded), a fixed tail. Plain ASCII.
QByteArray OfflineListingText(const QString& homeAddress, const QStringList& entries);
// Writes the listing of `folder` into it, replacing an earlier one only once the whole
// page is written; the listing's full name.
QString WriteOfflineListingFile(const QString& folder, const QString& homeAddress);

// The mail that submits a plug-in to the maker.
QString PlugInSubmissionMailUrl();
