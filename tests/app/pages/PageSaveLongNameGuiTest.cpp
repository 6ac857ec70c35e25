// A page whose file has a name as long as the folder takes (255 bytes) opens, and Save
// (Ctrl+S) and Save As write it in place: the temporary file the save goes through
// first has a name that fits beside it. The file keeps its permissions, a link to it
// stays a link, and nothing is left behind. Driven through the main window's actions,
// the save dialog answered by script.

#include "app/shell/DataModuleActions.h"
#include "app/shell/MainForm.h"

#include "../ShellTestSupport.h"

#include <QTest>

#include <filesystem>
#include <string>
#include <vector>

namespace {

class PageSaveLongNameGui : public TShellTest {
protected:
    PageSaveLongNameGui() : Window(std::make_unique<TMainForm>()) {}
    ~PageSaveLongNameGui() override { Window.reset(); }

    std::size_t FileCount() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
    }

    std::unique_ptr<TMainForm> Window;
    TDataModuleActions& Actions = Dm.Actions;
};

std::string Repeated(const std::string& part, std::size_t count)
{
    std::string text;
    for (std::size_t k = 0; k < count; ++k) {
        text += part;
    }
    return text;
}

struct TNameCase {
    const char* Name;
    std::string File; // in the test's folder
};

// Names whose temporary file fits with ".XXXXXX" and a dot (247 bytes) and those
// longer, up to the longest; one of two-byte characters, one cut would split.
const std::vector<TNameCase> LongNames = {
    {"247 bytes", std::string(243, 'a') + ".sbp"},
    {"248 bytes", std::string(244, 'b') + ".sbp"},
    {"255 bytes", std::string(251, 'c') + ".sbp"},
    {"255 bytes of two-byte characters", Repeated("\xC3\xA9", 125) + "x.sbp"},
};

TEST_F(PageSaveLongNameGui, SaveWritesAFileOfTheLongestNameInPlace)
{
    for (const TNameCase& c : LongNames) {
        SCOPED_TRACE(c.Name);
        ASSERT_LE(c.File.size(), 255u);
        WriteText(c.File, "M2,1,1\r\n");
        std::filesystem::permissions(folder / c.File, std::filesystem::perms(0640));
        const std::size_t files = FileCount();
        Window->DoOpenFile(FilePath(c.File));
        const auto page = AsEditor(ActiveEditor);
        ASSERT_EQ(page->GetFileName(), FilePath(c.File));
        QTest::keyClicks(&Form(page).CodeEditorWidget(), "x");
        ASSERT_TRUE(Actions.actFileSave->Execute());
        EXPECT_FALSE(page->GetModified());
        EXPECT_EQ(ReadText(c.File), "xM2,1,1\r\n");
        EXPECT_EQ(std::filesystem::status(folder / c.File).permissions(), std::filesystem::perms(0640));
        EXPECT_EQ(FileCount(), files) << "no temporary file left";
        page->ExecClose();
        Process();
    }
}

TEST_F(PageSaveLongNameGui, SaveAsAndALinkReachAFileOfTheLongestName)
{
    const std::string longest = std::string(251, 'l') + ".sbp";
    Window->DoOpenFile({});
    const auto page = AsEditor(ActiveEditor);
    QTest::keyClicks(&Form(page).CodeEditorWidget(), "MS,1");
    Dialogs.ExpectSave(Path(longest));
    ASSERT_TRUE(Actions.actFileSaveAs->Execute());
    EXPECT_EQ(page->GetFileName(), FilePath(longest));
    EXPECT_EQ(ReadText(longest), "MS,1\r\n");
    page->ExecClose();
    Process();

    // Saved through a link, the file at its end changes and the link stays.
    std::filesystem::create_symlink(longest, folder / "link.sbp");
    Window->DoOpenFile(FilePath("link.sbp"));
    const auto linked = AsEditor(ActiveEditor);
    QTest::keyClicks(&Form(linked).CodeEditorWidget(), "J2,0,0\r");
    ASSERT_TRUE(Actions.actFileSave->Execute());
    EXPECT_FALSE(linked->GetModified());
    EXPECT_EQ(ReadText(longest), "J2,0,0\r\nMS,1\r\n");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.sbp"));
    EXPECT_EQ(FileCount(), 2u);
}

} // namespace
