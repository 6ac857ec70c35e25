// The quick-view window over the main window: a selection runs a quiet, timed run of
// the file (no page, FP sub-files included), the masks filter the list, a vanished file
// does nothing, a selection during a quick view waits for it, and nothing runs or opens
// while another run goes.

#include "app/testrun/QuickviewForm.h"
#include "app/testrun/TestRunForm.h"

#include "../RunTestSupport.h"

#include "platform/core/files/RegularFile.h"

#include "../../support/FifoWatchdog.h"
#include "../../support/SettledWindow.h"

#include <QApplication>
#include <QFileSystemModel>
#include <QIcon>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QTreeView>

#include <filesystem>
#include <set>

namespace {

// Every read of the tick count is one millisecond later.
struct TCountingClock : IClockSource {
    std::int64_t TickCountMs() const override { return ++Ticks; }
    double NowAsDateTime() const override { return 0; }
    mutable std::int64_t Ticks = 0;
};

class QuickViewGui : public TRunTest {
protected:
    QuickViewGui()
    {
        std::filesystem::create_directories(folder / "qv");
        Quick = std::make_unique<TFQuickview>(*Window);
        FQuickview = Quick.get();
    }
    ~QuickViewGui() override { Quick.reset(); }

    QString QvPath(const std::string& name) const { return FilePath("qv/" + name); }
    // Shows the folder and waits until the file system model has listed it.
    void ShowFolder(int expectedFiles)
    {
        Quick->SetFolder(QvPath(""));
        ASSERT_TRUE(testsupport::WaitFor([&] { return Listed().size() == expectedFiles; }));
    }
    QStringList Listed() const
    {
        QStringList names;
        const QAbstractItemModel& list = *Quick->FileListBox1->model();
        for (int row = 0; row < list.rowCount(Quick->FileListBox1->rootIndex()); ++row) {
            names << list.index(row, 0, Quick->FileListBox1->rootIndex()).data().toString();
        }
        names.sort();
        return names;
    }
    // Milliseconds of the counting clock that selecting `name` took.
    std::int64_t SelectTimed(const std::string& name)
    {
        const std::int64_t start = Counting.Ticks;
        Quick->SelectFile(QvPath(name));
        return Counting.Ticks - start;
    }

    std::unique_ptr<TFQuickview> Quick;
    TCountingClock Counting;
};

TEST_F(QuickViewGui, ASelectionRunsAQuietRunForTheSecondsToWait)
{
    WriteText("qv/endless.sbp", "AGAIN:\r\nM2,1,1\r\nM2,2,2\r\nGOTO AGAIN\r\n");
    WriteText("qv/main.sbp", "M2,1,1\r\nFP, sub.sbp\r\nPAUSE\r\nM2,3,3\r\n");
    WriteText("qv/sub.sbp", "M2,2,2\r\n");
    ShowFolder(3);
    Window->actQuickView->trigger();
    EXPECT_TRUE(Quick->isVisible());
    EXPECT_EQ(Window->mFile->actions().indexOf(Window->actQuickView) + 1,
              Window->mFile->actions().indexOf(Window->mRecentFiles->menuAction()));
    TClockSourceScope clock(&Counting);

    const std::int64_t five = SelectTimed("endless.sbp");
    EXPECT_GE(five, 5000);
    EXPECT_LT(five, 5100);
    Quick->UpDown1->stepBy(2);
    EXPECT_EQ(Quick->EditWait->text(), "7");
    // The sub-file's moves are drawn, its page is not opened, PAUSE asks nothing.
    SelectTimed("main.sbp");
    EXPECT_EQ(CutText(), "0.00000,0.00000,0.00000\r\n1.00000,1.00000,0.00000\r\n"
                         "2.00000,2.00000,0.00000\r\n3.00000,3.00000,0.00000\r\n");
    const std::int64_t seven = SelectTimed("endless.sbp");
    EXPECT_GE(seven, 7000);
    EXPECT_LT(seven, 7100);
    EXPECT_EQ(PageCount(), 0);
    EXPECT_FALSE(Window->Running || Window->QuietRun || Quick->Busy());
}

TEST_F(QuickViewGui, TheMasksFilterTheListAndAVanishedFileDoesNothing)
{
    for (const char* name : {"a.sbp", "B.SBP", "c.txt", "d.nc"}) {
        WriteText(std::string("qv/") + name, "M2,3,3\r\n");
    }
    ShowFolder(2);
    Quick->Edit1->setText("*.txt;*.sbp");
    EXPECT_TRUE(testsupport::WaitFor([&] { return Listed() == QStringList{"B.SBP", "a.sbp", "c.txt"}; }));
    Quick->Edit1->setText(" *.NC ; ");
    EXPECT_TRUE(testsupport::WaitFor([&] { return Listed() == QStringList{"d.nc"}; }));
    Quick->Edit1->setText("");
    EXPECT_TRUE(testsupport::WaitFor([&] { return Listed().size() == 4; })) << "no mask lists every file";

    Quick->SelectFile(QvPath("c.txt"));
    EXPECT_EQ(CutText(), "0.00000,0.00000,0.00000\r\n3.00000,3.00000,0.00000\r\n");
    std::filesystem::remove(folder / "qv" / "c.txt");
    Window->BitBtn11Click();
    Quick->FileListBox1Change();
    Quick->FileListBox1DblClick();
    EXPECT_EQ(CutText() + std::to_string(PageCount()), "0") << "nothing ran, nothing opened";
}

// The list's icons and type names come from what the system says of an entry: to guess
// them from a file's content, Qt's own provider read every ".sbp" of the folder, and on
// a link to the kernel's log that read waited, holding the window at start-up.
TEST_F(QuickViewGui, TheListTellsEntriesApartWithoutReadingThem)
{
    std::filesystem::create_symlink("/proc/kmsg", folder / "qv" / "kmsg.sbp");
    if (!OpenRegularFile(QvPath("kmsg.sbp").toStdString(), TFileAccess::Read).IsOpen()) {
        GTEST_SKIP() << "only root may open the kernel's log";
    }
    WriteText("qv/a.sbp", "M2,1,1\r\n");
    std::filesystem::create_directory(folder / "qv" / "sub");
    const testsupport::THangGuard guard("listing a folder with a link to /proc/kmsg");
    ShowFolder(2);
    QFileSystemModel& files = *Quick->FileModel();
    for (const char* name : {"a.sbp", "kmsg.sbp", "sub"}) {
        const QModelIndex entry = files.index(QvPath(name));
        EXPECT_FALSE(files.fileIcon(entry).isNull()) << name;
        EXPECT_EQ(files.type(entry), name == std::string("sub") ? "Folder" : "File") << name;
    }
}

// The file list shows names only, one line of text per row, so the window shows as many
// files as its list's height holds lines: with icons a row was 26 pixels high and the
// window showed 13 files instead of 23. The folder list's icons stay small.
TEST_F(QuickViewGui, TheFileListShowsALineOfTextPerRow)
{
    for (int i = 10; i < 50; ++i) {
        WriteText("qv/part" + std::to_string(i) + ".sbp", "M2,1,1\r\n");
    }
    std::filesystem::create_directory(folder / "qv" / "sub");
    Quick->show();
    ShowFolder(40);
    ASSERT_TRUE(testsupport::WaitForSettledWindow(*Quick));
    const QListView& list = *Quick->FileListBox1;
    const int line = list.fontMetrics().height();
    const int height = list.viewport()->height();
    std::set<int> rowHeights; // of the rows wholly inside the list
    int shown = 0;
    for (QModelIndex row = list.indexAt(QPoint(2, 2)); row.isValid() && list.visualRect(row).bottom() < height;
         row = list.indexAt(QPoint(2, list.visualRect(row).bottom() + 2))) {
        rowHeights.insert(list.visualRect(row).height());
        ++shown;
    }
    EXPECT_EQ(rowHeights, std::set<int>{line});
    EXPECT_EQ(shown, height / line);
    EXPECT_GE(shown, 20) << "the window's first size shows about 23 files";

    const QTreeView& folders = *Quick->DirectoryListBox1;
    const int small = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
    const QModelIndex shownFolder = folders.currentIndex();
    EXPECT_EQ(folders.model()->data(shownFolder, Qt::DecorationRole).value<QIcon>().actualSize(QSize(64, 64)),
              QSize(small, small));
    EXPECT_LE(folders.visualRect(shownFolder).height(), std::max(folders.fontMetrics().height(), small) + 2);
}

TEST_F(QuickViewGui, ASelectionDuringAQuickViewRunsOnceItHasReturned)
{
    WriteText("qv/endless.sbp", "AGAIN:\r\nM2,1,1\r\nGOTO AGAIN\r\n");
    WriteText("qv/other.sbp", "M2,9,9\r\n");
    ShowFolder(2);
    TClockSourceScope clock(&Counting);
    bool inside = false;
    QTimer::singleShot(0, Quick.get(), [&] {
        inside = Window->QuietRun;
        Quick->SelectFile(QvPath("other.sbp"));
        // Stopped, not replaced: the first one unwinds before the next begins.
        EXPECT_TRUE(Window->RunOnStack());
        EXPECT_EQ(CutText().find("9.00000"), std::string::npos);
    });
    EXPECT_LT(SelectTimed("endless.sbp"), 5000) << "the first quick view was cut short";
    EXPECT_TRUE(inside);
    EXPECT_EQ(CutText(), "0.00000,0.00000,0.00000\r\n9.00000,9.00000,0.00000\r\n");
    EXPECT_FALSE(Window->RunOnStack() || Quick->Busy());
}

TEST_F(QuickViewGui, OpenInEditorOpensThePageAndNothingRunsOrOpensWhileARunGoes)
{
    WriteText("qv/a.sbp", "M2,1,1\r\n");
    WriteText("qv/b.sbp", "M2,2,2\r\n");
    ShowFolder(2);
    Quick->SelectFile(QvPath("a.sbp"));
    Quick->BitBtn1->click();
    Quick->FileListBox1DblClick();
    EXPECT_EQ(PageCount(), 1) << "opened once, then brought forward";

    OpenProgram("page.sbp", "M2,5,5\r\nM2,6,6\r\n");
    bool checked = false;
    AtPass = [&] {
        if (std::exchange(checked, true)) {
            return;
        }
        Window->UpdateAllActions(false);
        EXPECT_FALSE(Quick->BitBtn1->isEnabled() || Quick->FileListBox1->isEnabled());
        Quick->SelectFile(QvPath("b.sbp"));
        Quick->FileListBox1Change();
        Quick->FileListBox1DblClick();
        EXPECT_EQ(PageCount(), 2);
    };
    Run();
    EXPECT_TRUE(checked);
    EXPECT_EQ(CutText().find("2.00000,2.00000"), std::string::npos) << "b never ran";
    Window->UpdateAllActions(false);
    EXPECT_TRUE(Quick->BitBtn1->isEnabled() && Quick->FileListBox1->isEnabled());
}

} // namespace
