// Every way into a page passes the page's file loading, which refuses a name that is
// no regular file: a named pipe would hold the window until another program writes
// into it. Each way gives the error box a folder gets, and no page. A file that stat
// calls regular but whose read would wait (the kernel's log) is read without waiting:
// its read fails with the error box, and the window goes on.

#include "../RunTestSupport.h"

#include "platform/core/files/RegularFile.h"

#include "../../support/FifoWatchdog.h"

#include <filesystem>
#include <functional>

namespace {

class PageFilesGui : public TRunTest {};

TEST_F(PageFilesGui, ANamedPipeGivesTheBoxAndNoPageByEveryWayIn)
{
    const testsupport::TFifoWatchdog watchdog(Path("pipe.sbp"));
    ASSERT_TRUE(watchdog.Made());
    const QString pipe = FilePath("pipe.sbp");
    // The page the Ctrl+click starts from.
    const auto carrier = OpenProgram("main.sbp", "FP, pipe.sbp");
    TCodeEdit& code = Code(carrier);
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"command line", [&] { Window->OpenCommandLine({pipe}, true); }},
        {"Open", [&] {
             Dialogs.ExpectOpen(std::vector<std::string>{pipe.toStdString()});
             Window->actFileOpen->Execute();
         }},
        {"recent files", [&] {
             Dm.AddMRUFile(pipe);
             Window->OnOpenMRUFile(1);
         }},
        {"Ctrl+click on an FP line", [&] {
             code.MouseDown(mbLeft, ssCtrl, code.GutterWidth() + 10, 2);
             code.MouseUp(mbLeft, ssCtrl, code.GutterWidth() + 10, 2);
         }},
    };
    for (const auto& [name, open] : ways) {
        Dialogs.Shown.clear();
        Dialogs.ExpectMessage("Not a regular file: \"" + Path("pipe.sbp") + "\" is a named pipe.",
                              TModalResult::mrOk);
        open();
        Process();
        ASSERT_EQ(Dialogs.Shown.size(), 1u) << name;
        EXPECT_EQ(Dialogs.Shown[0].Type, TMsgDlgType::mtError) << name;
        EXPECT_EQ(PageCount(), 1) << name;
        EXPECT_EQ(Dm.GetMRUFileCount(), 0) << name;
    }
    EXPECT_FALSE(watchdog.Fired()) << "a way in waited on the pipe";
}

TEST_F(PageFilesGui, AFileWhoseReadWouldWaitGivesTheBoxAndTheOtherPagesOpen)
{
    std::filesystem::create_symlink("/proc/kmsg", folder / "kmsg.sbp");
    if (!OpenRegularFile(Path("kmsg.sbp"), TFileAccess::Read).IsOpen()) {
        GTEST_SKIP() << "only root may open the kernel's log";
    }
    WriteText("good.sbp", "M2,1,1\r\n");
    const testsupport::THangGuard guard("opening a page of /proc/kmsg");
    Dialogs.ExpectMessage("Error reading file \"" + Path("kmsg.sbp") +
                              "\". Reading it would wait for data that may never come.",
                          TModalResult::mrOk);
    Window->OpenCommandLine({FilePath("good.sbp"), FilePath("kmsg.sbp")}, true);
    Process();
    EXPECT_EQ(Dialogs.Shown.at(0).Type, TMsgDlgType::mtError);
    EXPECT_EQ(PageCount(), 1);
    EXPECT_EQ(ActiveEditor->GetFileName(), FilePath("good.sbp"));
}

} // namespace
