// Every way into a page passes the page's file loading, which refuses a name that is
// no regular file: a named pipe would hold the window until another program writes
// into it. Each way gives the error box a folder gets, and no page.

#include "../RunTestSupport.h"

#include <functional>

#include <sys/stat.h>

namespace {

class PageFilesGui : public TRunTest {};

TEST_F(PageFilesGui, ANamedPipeGivesTheBoxAndNoPageByEveryWayIn)
{
    ASSERT_EQ(::mkfifo(Path("pipe.sbp").c_str(), 0600), 0);
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
        Dialogs.ExpectMessage("Cannot open file \"" + Path("pipe.sbp") + "\". file to open is a named pipe",
                              TModalResult::mrOk);
        open();
        Process();
        ASSERT_EQ(Dialogs.Shown.size(), 1u) << name;
        EXPECT_EQ(Dialogs.Shown[0].Type, TMsgDlgType::mtError) << name;
        EXPECT_EQ(PageCount(), 1) << name;
        EXPECT_EQ(Dm.GetMRUFileCount(), 0) << name;
    }
}

} // namespace
