// The plug-in window's rules without a window: the open rule, where a single page is
// found (VBScript names included), the one refusal of a page that is no regular file,
// the listing's exact bytes, the window's settings and the submission mail.

#include "app/plugins/MakerLinks.h"
#include "app/plugins/PlugInFiles.h"
#include "app/plugins/PlugInsSettings.h"
#include "app/shell/RecentFiles.h"

#include "../AppTestSupport.h"
#include "../../support/NonRegularFiles.h"

#include "platform/core/files/IniFile.h"
#include "platform/gui/automation/PlugInWebPage.h"

#include <QDir>
#include <QFile>
#include <QUrl>

#include <filesystem>
#include <string>

namespace {

class PlugInFiles : public TAppTest {
protected:
    PlugInFiles() { std::filesystem::create_directories(folder / "plugins"); }
    QString Full(const std::string& name) const { return QString::fromStdString(Path(name)); }
    void MakeExecutable(const std::string& name) const
    {
        std::filesystem::permissions(folder / name, std::filesystem::perms::owner_exec,
                                     std::filesystem::perm_options::add);
    }
};

TEST_F(PlugInFiles, ProgramsAreStartedEverythingElseNavigated)
{
    WriteText("plugins/run-me", "#!/bin/sh\n");
    MakeExecutable("plugins/run-me");
    WriteText("plugins/TOOL.EXE", "");
    WriteText("plugins/page.htm", "");
    const struct {
        std::string Name;
        TPlugInOpen Kind;
    } cases[] = {
        {"plugins/run-me", TPlugInOpen::Start},
        {"plugins/tool.exe", TPlugInOpen::Start}, // ".exe" needs no file and no bit
        {"plugins/TOOL.EXE", TPlugInOpen::Navigate},
        {"plugins/page.htm", TPlugInOpen::Navigate},
        {"plugins", TPlugInOpen::Navigate}, // a folder is not a program
        {"https://example.org/tool.exe.html", TPlugInOpen::Navigate},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlugInOpenKind(Full(c.Name)), c.Kind) << c.Name;
    }
}

// The Open button, a recent plug-in and a single page (a target as the user named it)
// and a link in a page (the address the browser asks for) meet one rule: whatever could
// make the browser wait is refused, a folder (which the listing links) is not.
TEST_F(PlugInFiles, APageIsRefusedByOneRuleWhicheverWayItComes)
{
    WriteText("plugins/page.html", "");
    std::filesystem::create_symlink(folder / "plugins", folder / "to-plugins");
    const testsupport::TNonRegularFiles others(folder);
    ASSERT_TRUE(others.Made());
    struct TCase {
        std::string Target;
        std::string Refusal;
    };
    std::vector<TCase> cases = {
        {Path("plugins/page.html"), ""},
        {Path("plugins"), ""},
        {Path("to-plugins"), ""},
        {Path("missing.html"), ""},
        {"https://example.org/pipe.sbp", ""},
    };
    for (const auto& entry : others.Entries) {
        cases.push_back({others.Path(entry), others.Refusal(entry)});
    }
    for (const TCase& c : cases) {
        const QString target = QString::fromStdString(c.Target);
        EXPECT_EQ(PlugInPageRefusal(PlugInTargetUrl(target)).toStdString(), c.Refusal) << c.Target;
        if (c.Target.front() == '/') {
            EXPECT_EQ(PlugInPageRefusal(QUrl::fromLocalFile(target)).toStdString(), c.Refusal) << c.Target;
        }
    }
    // A name relative to the current folder is taken from there, as the browser takes it.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(folder.string()));
    EXPECT_EQ(PlugInTargetUrl("plugins/page.html"), QUrl::fromLocalFile(Full("plugins/page.html")));
    EXPECT_EQ(PlugInPageRefusal(PlugInTargetUrl("pipe.sbp")).toStdString(), others.Refusal(others.Entries.front()));
    QDir::setCurrent(previous);
    EXPECT_FALSE(others.Waited()) << "something waited on the pipe";
}

TEST_F(PlugInFiles, SinglePagesAreFoundBesideTheExecutableIgnoringCase)
{
    WriteText("plugins/Both.html", "");
    WriteText("plugins/Both.htm", "");
    WriteText("plugins/old.HTM", "");
    WriteText("plugins/only.vbs", "");
    WriteText("plugins/page.htm", "");
    const struct {
        const char* Asked;
        const char* Found; // relative to the folder, "" for none
        bool ScriptOnly;
    } cases[] = {
        {"plugins/BOTH.vbs", "plugins/Both.html", false},
        {"PlugIns\\old.vbs", "plugins/old.HTM", false},
        {"plugins/ONLY.VBS", "", true},
        {"plugins/none.vbs", "", false},
        {"plugins/page.htm", "plugins/page.htm", false},
        {"plugins/PAGE.HTM", "plugins/page.htm", false},
        {"plugins", "", false}, // a folder is no page
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Asked);
        const TPlugInPage page = ResolvePlugInPage(c.Asked);
        EXPECT_EQ(page.FileName, *c.Found ? Full(c.Found) : QString());
        EXPECT_EQ(page.ScriptOnly, c.ScriptOnly);
    }
    // A full name is taken as it stands.
    EXPECT_EQ(ResolvePlugInPage(Full("plugins/ONLY.vbs")).ScriptOnly, true);
    EXPECT_EQ(ResolvePlugInPage(Full("plugins/both.VBS")).FileName, Full("plugins/Both.html"));
}

TEST_F(PlugInFiles, TheListingHasExactlyTheseBytes)
{
    const std::string plugins = "plugins/";
    WriteText(plugins + "b page.htm", "");
    WriteText(plugins + "a\"b<c.htm", "");
    WriteText(plugins + ".hidden.htm", "");
    WriteText(plugins + "tmpdirlisting.html", "old listing");
    WriteText(plugins + "\xC3\x98.html", "");
    std::filesystem::create_directories(folder / "plugins" / "Tools");
    const QString written = WriteOfflineListingFile(PlugInFolder(), "http://127.0.0.1:1/?a=1&b=2");
    EXPECT_EQ(written, Full("plugins/tmpdirlisting.html"));
    EXPECT_EQ(ReadText("plugins/tmpdirlisting.html"),
              "<html xmlns=\"http://www.w3.org/1999/xhtml\" >\r\n"
              "    <title>PlugIn Directory Listing</title>\r\n"
              "</head>\r\n"
              "<body>\r\n"
              "    <strong>Unable to connect to http://127.0.0.1:1/?a=1&amp;b=2<br />Manually generated a list of "
              "local plugins below:</strong><br /><br />\r\n"
              "    <ul>\r\n"
              "<li><a href=\"Tools\">Tools</a></li>"
              "<li><a href=\"a%22b%3Cc.htm\">a&quot;b&lt;c.htm</a></li>"
              "<li><a href=\"b%20page.htm\">b page.htm</a></li>"
              "<li><a href=\"%C3%98.html\">&#216;.html</a></li>"
              "    </ul></body></html>");
    // An empty folder gives the head and the tail.
    std::filesystem::remove_all(folder / "plugins");
    std::filesystem::create_directories(folder / "plugins");
    EXPECT_EQ(OfflineListingEntries(PlugInFolder()), QStringList());
}

TEST_F(PlugInFiles, WindowSettingsAndTheRecentPlugInsRoundTrip)
{
    WriteSettings("[PlugInsWin]\r\nLeft=10\r\nTop=20\r\nWidth=700\r\nHeight=0\r\nPanelGLWidth=250\r\n"
                  "[MRU_pg_Files]\r\nMRU_pg_File1=/p/new.htm\r\nMRU_pg_File2=\r\nMRU_pg_File3=/p/old.htm\r\n");
    TPlugInsWinSettings settings;
    settings.Load(Settings());
    EXPECT_FALSE(settings.HasBounds()) << "a height of 0 keeps the window's own bounds";
    EXPECT_EQ(settings.PanelGLWidth, 250);
    TRecentFiles list;
    list.Add("/p/before.htm");
    ReadPlugInMRU(Settings(), list);
    EXPECT_EQ(list.Items(), (QStringList{"/p/new.htm", "/p/old.htm", "/p/before.htm"}));

    // Ten written, then three: keys 4 to 10 go.
    TIniFile ini = Settings();
    TRecentFiles ten;
    for (int i = 10; i >= 1; --i) {
        ten.Add(QStringLiteral("/p/%1.htm").arg(i));
    }
    WritePlugInMRU(ini, ten);
    EXPECT_EQ(ini.ReadSection(PlugInsMRUSection).size(), 10u);
    TRecentFiles three;
    three.Add("/p/c.htm");
    three.Add("/p/b.htm");
    three.Add("/p/a.htm");
    WritePlugInMRU(ini, three);
    ini.UpdateFile();
    EXPECT_EQ(SectionLines(PlugInsMRUSection),
              (std::vector<std::string>{"MRU_pg_File1=/p/a.htm", "MRU_pg_File2=/p/b.htm", "MRU_pg_File3=/p/c.htm"}));
}

TEST_F(PlugInFiles, MailLinksArePercentEncoded)
{
    EXPECT_EQ(PlugInSubmissionMailUrl(),
              "mailto:plugins@kerfpad.org?subject=Kerfpad-User-PlugIn&body=Name%3A%20%0D%0AShort%20Description%3A%20"
              "%0D%0ALong%20Description%3A%20%0D%0A%0D%0ASpecial%20Notes%2FExamples%2FUsage%3A%20%0D%0A%0D%0A%0D%0A"
              "%28remember%20to%20attach%20plugin%20file%29");
    EXPECT_EQ(MailtoUrl("a b@c", "x&y", {}), "mailto:a%20b@c?subject=x%26y");
}

} // namespace
