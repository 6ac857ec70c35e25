// A page whose file has a name as long as the folder takes (255 bytes) is saved in
// place by Save (Ctrl+S), Save As and through a link, the temporary file beside it
// named to fit: the file keeps its permissions, a link stays a link, nothing is left.

#include "app/shell/DataModuleActions.h"
#include "app/shell/MainForm.h"

#include "../ShellTestSupport.h"

#include <QTest>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using PageSaveLongNameGui = TShellTest;

TEST_F(PageSaveLongNameGui, AFileOfTheLongestNameIsSavedInPlace)
{
    TMainForm window;
    std::string twoByte;
    for (int k = 0; k < 125; ++k) {
        twoByte += "\xC3\xA9";
    }
    struct TCase {
        const char* Name;
        std::string File;   // the file the page saves
        std::string Opened; // the name the page has: the file, a link to it, or none (Save As)
    };
    const std::string longest = std::string(251, 'c') + ".sbp";
    const std::vector<TCase> cases = {
        {"247 bytes: the whole name fits", std::string(243, 'a') + ".sbp", "="},
        {"248 bytes", std::string(244, 'b') + ".sbp", "="},
        {"255 bytes", longest, "="},
        {"255 bytes of two-byte characters", twoByte + "x.sbp", "="},
        {"through a link", longest, "link.sbp"},
        {"Save As", std::string(250, 'd') + ".sbp", ""},
    };
    std::filesystem::create_symlink(longest, folder / "link.sbp");
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const bool saveAs = c.Opened.empty();
        if (!saveAs) {
            WriteText(c.File, "M2,1,1\r\n");
            std::filesystem::permissions(folder / c.File, std::filesystem::perms(0640));
        }
        const auto files = std::distance(std::filesystem::directory_iterator(folder), {});
        window.DoOpenFile(saveAs ? QString() : FilePath(c.Opened == "=" ? c.File : c.Opened));
        const auto page = AsEditor(ActiveEditor);
        QTest::keyClicks(&Form(page).CodeEditorWidget(), "x");
        if (saveAs) {
            Dialogs.ExpectSave(Path(c.File));
        }
        ASSERT_TRUE((saveAs ? Dm.Actions.actFileSaveAs : Dm.Actions.actFileSave)->Execute());
        EXPECT_FALSE(page->GetModified());
        EXPECT_EQ(ReadText(c.File), saveAs ? "x\r\n" : "xM2,1,1\r\n");
        if (!saveAs) {
            EXPECT_EQ(std::filesystem::status(folder / c.File).permissions(), std::filesystem::perms(0640));
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), files + (saveAs ? 1 : 0))
            << "no temporary file left";
        page->ExecClose();
        Process();
    }
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.sbp"));
}

} // namespace
