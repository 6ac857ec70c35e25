#include "app/shell/DataModule.h"
#include "app/shell/DebugLogFile.h"

#include "../AppTestSupport.h"

#include "platform/core/Exceptions.h"
#include "platform/gui/QtShownText.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <limits>

namespace {

TEST(RecentFiles, KeepTheTenNewestOnceEachWhateverTheirCase)
{
    Tdm dm;
    for (int i = 1; i <= 11; ++i)
        dm.AddMRUFile(QStringLiteral("/p/f%1.sbp").arg(i));
    ASSERT_EQ(dm.GetMRUFileCount(), 10);
    EXPECT_EQ(dm.GetMRUFile(0), "/p/f11.sbp");
    EXPECT_EQ(dm.GetMRUFile(9), "/p/f2.sbp");
    dm.AddMRUFile("/P/F5.SBP");
    EXPECT_EQ(dm.GetMRUFileCount(), 10);
    EXPECT_EQ(dm.GetMRUFile(0), "/P/F5.SBP");
    EXPECT_EQ(dm.MRUFiles.Items().filter("f5", Qt::CaseInsensitive).size(), 1);
    dm.AddMRUFile("");
    EXPECT_EQ(dm.GetMRUFile(0), "/P/F5.SBP");
    EXPECT_EQ(dm.GetMRUFile(10) + dm.GetMRUFile(-1), "");

    // Promoting puts even an empty name at the head.
    dm.AddMRUPlugin("a.htm");
    dm.PromoteMRUPlugin("A.HTM");
    dm.PromoteMRUPlugin("");
    EXPECT_EQ(dm.MRUPlugins.Items(), (QStringList{"", "A.HTM"}));
}

TEST(UntitledNumbers, TakeTheLowestFreeNumberAndGrowBy32)
{
    Tdm dm;
    EXPECT_EQ(dm.UntitledNumbers.Size(), 0);
    EXPECT_EQ(dm.NewUntitledNumber(), 1);
    EXPECT_EQ(dm.NewUntitledNumber(), 2);
    EXPECT_EQ(dm.UntitledNumbers.Size(), 32);
    dm.ReleaseUntitledNumber(1);
    dm.ReleaseUntitledNumber(0);
    dm.ReleaseUntitledNumber(99);
    EXPECT_EQ(dm.NewUntitledNumber(), 1);
    for (int expected = 3; expected <= 33; ++expected)
        ASSERT_EQ(dm.NewUntitledNumber(), expected);
    EXPECT_EQ(dm.UntitledNumbers.Size(), 64);
}

TEST(SplitText, BlanksAndTheSeparatorBothEndFields)
{
    const struct {
        const char* text;
        QStringList fields;
    } cases[] = {
        {"[LOADFILE],my page.htm,300,200", {"[LOADFILE]", "my", "page.htm", "300", "200"}},
        {R"("[LOADFILE]","my page.htm" , "3""00",200)", {"[LOADFILE]", "my page.htm", "3\"00", "200"}},
        {"  a,b,", {"a", "b", ""}},
        {"a,,b", {"a", "", "b"}},
        {"\"open", {"open"}},
        {"", {}},
    };
    Tdm dm;
    QStringList fields{"old"};
    for (const auto& c : cases) {
        dm.SplitText(',', QString::fromUtf8(c.text), &fields);
        EXPECT_EQ(fields, c.fields) << c.text;
    }
    try {
        dm.SplitText(',', "a", nullptr);
        ADD_FAILURE() << "no assertion";
    } catch (const EAssertionFailed& e) {
        EXPECT_STREQ(e.what(), "Assertion failure (dmCommands, line 269)");
    }
}

TEST(StatusPositionText, UsesTheLocaleWithFiveDecimals)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(Tdm::StatusPositionText(1234.5, 0, -2), "X: 1,234.50000    Y: 0.00000    Z: -2.00000");
    // Fifteen significant digits at the most.
    EXPECT_EQ(Tdm::StatusPositionText(123456789012.345678, 0.000001, 0),
              "X: 123,456,789,012.34600    Y: 0.00000    Z: 0.00000");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Tdm::StatusPositionText(1234.5, 0, -2), "X: 1.234,50000    Y: 0,00000    Z: -2,00000");
    QLocale::setDefault(saved);
}

TEST(StatusPositionText, NamesWhatIsNoNumberAndKeepsHugeOnesWhole)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double x, y, z;
        const char* text;
    } cases[] = {
        {inf, -inf, nan, "X: INF    Y: -INF    Z: NAN"},
        {-nan, 0.5, inf, "X: NAN    Y: 0.50000    Z: INF"},
        // The largest single-precision coordinate: every digit before the point, none after.
        {std::numeric_limits<float>::max(), 0, 0,
         "X: 340,282,346,638,528,859,811,704,183,484,516,925,440.00000    Y: 0.00000    Z: 0.00000"},
        {-1e15, 1e14 + 0.25, 0,
         "X: -1,000,000,000,000,000.00000    Y: 100,000,000,000,000.00000    Z: 0.00000"},
        {-12345.6789, std::numeric_limits<double>::denorm_min(), -0.0,
         "X: -12,345.67890    Y: 0.00000    Z: 0.00000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Tdm::StatusPositionText(c.x, c.y, c.z).toStdString(), c.text);
    }
    // The largest double has 309 digits before the point, all of them shown.
    const QString largest = Tdm::StatusPositionText(std::numeric_limits<double>::max(), 0, 0);
    EXPECT_TRUE(largest.startsWith("X: 179,769,313,486,231,570,")) << largest.toStdString();
    EXPECT_TRUE(largest.endsWith(".00000    Y: 0.00000    Z: 0.00000")) << largest.toStdString();
    EXPECT_EQ(largest.count(','), 102);
    QLocale::setDefault(saved);
}

class DataModuleFiles : public TAppTest {};

TEST_F(DataModuleFiles, SaveDialogStartsAtTheFileAndAddsTheExtension)
{
    Dialogs.ExpectSave("/x/new");
    Dialogs.ExpectSave(std::nullopt);
    QString name = "/w/part.sbp";
    ASSERT_TRUE(Dm.ExecuteSaveDialog(name));
    EXPECT_EQ(name, "/x/new.sbp");
    EXPECT_EQ(Dialogs.FileDialogs[0].InitialDir + "|" + Dialogs.FileDialogs[0].FileName, "/w|part.sbp");
    QString untitled;
    EXPECT_FALSE(Dm.ExecuteSaveDialog(untitled));
    EXPECT_EQ(Dialogs.FileDialogs[1].InitialDir + "|" + Dialogs.FileDialogs[1].FileName, "|");

    Dialogs.ExpectOpen(std::vector<std::string>{"/a.sbp", "/b.sbp"});
    QStringList files;
    ASSERT_TRUE(Dm.ExecuteOpenDialog(files));
    EXPECT_EQ(files, (QStringList{"/a.sbp", "/b.sbp"}));
    EXPECT_TRUE(Dialogs.OpenMultiSelect.back());
}

TEST_F(DataModuleFiles, LogLinesCarryTimeTagAndTextAndAreFlushedAtOnce)
{
    Dm.Log("debug", "before the log is open");
    Dm.OpenLog();
    Dm.Log("info", "\"MO\" command in not applicable for Kerfpad.");
    EXPECT_EQ(ReadText("log.txt"), "2024-03-07 09:05:03 debug: Log file opened\n"
                                   "2024-03-07 09:05:03 info: \"MO\" command in not applicable for Kerfpad.\n");
    Clock.Now += 1.0 + 2.0 / 86400;
    Dm.CloseLog();
    Dm.Log("debug", "after closing");
    const std::string log = ReadText("log.txt");
    EXPECT_EQ(log.substr(log.rfind('\n', log.size() - 2) + 1), "2024-03-08 09:05:05 debug: Closing log file\n");

    // A new start empties the log.
    Dm.OpenLog();
    Dm.CloseLog();
    EXPECT_EQ(ReadText("log.txt"), "2024-03-08 09:05:05 debug: Log file opened\n"
                                   "2024-03-08 09:05:05 debug: Closing log file\n");
}

// A program's line of millions of characters quoted at every pass of a loop would fill
// the disk.
TEST_F(DataModuleFiles, ALongEntryIsLoggedCut)
{
    const QString text = "Cannot evaluate the condition \"" + QString(10'000'000, 'x');
    Dm.OpenLog();
    Dm.Log("error", text);
    EXPECT_EQ(ReadText("log.txt"), "2024-03-07 09:05:03 debug: Log file opened\n2024-03-07 09:05:03 error: " +
                                       ShownText(text).toStdString() + "\n");
}

TEST_F(DataModuleFiles, ALogThatCannotBeCreatedIsSilentlySkipped)
{
    WriteText("plain", "x");
    ::setenv("KERFPAD_APP_DIR", Path("plain").c_str(), 1);
    Dm.OpenLog();
    Dm.Log("error", "lost");
    Dm.CloseLog();
    EXPECT_EQ(ReadText("plain"), "x");
}

TEST(LogTimeText, CountsDaysFrom1899AndCarriesAcrossMidnight)
{
    EXPECT_EQ(LogTimeText(45358.0), "2024-03-07 00:00:00");
    EXPECT_EQ(LogTimeText(45358.9999999999), "2024-03-08 00:00:00");
    EXPECT_EQ(LogTimeText(2.5), "1900-01-01 12:00:00");
}

} // namespace
