// Saving a page writes beside its file and renames over it: onto a device node or a
// named pipe, by its own name or through a link, that rename would put a regular file
// in the node's place. Save and Save As refuse such a name with the error box and
// leave it as it was; a page opened through a link to a regular file saves into that
// file and the link stays a link.

#include "../ShellTestSupport.h"

#include "../../support/NonRegularFiles.h"

#include <filesystem>

namespace {

using PageSaveGui = TPageTest;

TEST_F(PageSaveGui, SaveAndSaveAsRefuseWhatIsNoRegularFileAndLeaveItAsItWas)
{
    const testsupport::TNonRegularFiles targets(folder);
    ASSERT_TRUE(targets.Made());
    for (const auto& target : targets.Entries) {
        SCOPED_TRACE(target.Name);
        const auto page = NewPage();
        page->InsertText("M2,1,1");
        // Yes to the dialog's own "replace?" is the name coming back.
        Dialogs.ExpectSave(targets.Path(target));
        Dialogs.ExpectMessage(targets.Refusal(target), TModalResult::mrOk);
        page->ExecSaveAs();
        EXPECT_EQ(page->GetFileName(), "") << "the refused name is not taken";
        // A page whose file became such a node since it was opened.
        page->DoSetFileName(QString::fromStdString(targets.Path(target)));
        Dialogs.ExpectMessage(targets.Refusal(target), TModalResult::mrOk);
        page->ExecSave();
        ASSERT_EQ(Dialogs.Shown.size(), 2u);
        EXPECT_EQ(Dialogs.Shown[0].Type, TMsgDlgType::mtError);
        EXPECT_TRUE(page->GetModified()) << "nothing was saved";
        EXPECT_TRUE(targets.Unchanged());
        Dialogs.Shown.clear();
        Code(page).SetModified(false);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}),
              static_cast<std::ptrdiff_t>(targets.Entries.size())) << "no temporary file left";
    EXPECT_FALSE(targets.Waited());
}

TEST_F(PageSaveGui, APageOpenedThroughALinkSavesIntoItsFileAndTheLinkStays)
{
    std::filesystem::create_directory(folder / "jobs");
    WriteText("jobs/part.sbp", "M2,1,1\r\n");
    std::filesystem::permissions(folder / "jobs" / "part.sbp", std::filesystem::perms(0640));
    std::filesystem::create_symlink("jobs/part.sbp", folder / "link.sbp");
    const auto page = NewPage(FilePath("link.sbp"));
    Code(page).SetCaretXY({1, 1});
    page->InsertText("X");
    page->ExecSave();
    EXPECT_FALSE(page->GetModified());
    EXPECT_EQ(ReadText("jobs/part.sbp"), "XM2,1,1\r\n");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.sbp"));
    EXPECT_EQ(std::filesystem::read_symlink(folder / "link.sbp"), "jobs/part.sbp");
    EXPECT_EQ(std::filesystem::status(folder / "jobs" / "part.sbp").permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(page->GetFileName(), FilePath("link.sbp"));
}

} // namespace
