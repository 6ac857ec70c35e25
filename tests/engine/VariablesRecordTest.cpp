// The change record of the evaluator's variables, and the variables list kept up to
// date by it: after every kind of change the rows equal those of the whole text.

#include "CalculTestSupport.h"
#include "EngineTestSupport.h"

#include "engine/ProgramRunner.h"
#include "engine/VariablesView.h"
#include "engine/calcul/CalculVariables.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using TChanges = std::vector<TVariablesChange>;
constexpr auto Set = TVariablesChange::Set;
constexpr auto Insert = TVariablesChange::Insert;
constexpr auto Delete = TVariablesChange::Delete;

TEST(VariablesRecord, EachOperationRecordsWhatItChanged)
{
    struct TStep {
        const char* what;
        std::function<void(TCalculVariables&)> change;
        bool replaced; // the record starts afresh: a viewer reads the list again
        TChanges recorded;
    };
    TCalculVariables other;
    other.SetText("o=1\r\n");
    const std::vector<TStep> steps = {
        {"Add", [](TCalculVariables& v) { v.Add("a=1"); }, false, {{Insert, 0}}},
        {"SetValue of a new name adds", [](TCalculVariables& v) { v.SetValue("b", "2"); }, false, {{Insert, 1}}},
        {"SetValue of a known name sets", [](TCalculVariables& v) { v.SetValue("A", "5"); }, false, {{Set, 0}}},
        {"Insert", [](TCalculVariables& v) { v.Insert(1, "z=0"); }, false, {{Insert, 1}}},
        {"SetStrings", [](TCalculVariables& v) { v.SetStrings(2, "b=9"); }, false, {{Set, 2}}},
        {"Delete", [](TCalculVariables& v) { v.Delete(0); }, false, {{Delete, 0}}},
        {"an assignment deletes and adds",
         [](TCalculVariables& v) {
             v.Delete(v.IndexOfName("z"));
             v.Add("z=1");
         },
         false, {{Delete, 0}, {Insert, 1}}},
        {"a failed change changes nothing",
         [](TCalculVariables& v) {
             EXPECT_THROW(v.Delete(5), EListError);
             EXPECT_THROW(v.SetStrings(-1, "x"), EListError);
             EXPECT_THROW(v.Insert(3, "x"), EListError);
         },
         false, {}},
        {"reading changes nothing", [](TCalculVariables& v) { EXPECT_EQ(v.Values("b"), "9"); }, false, {}},
        {"Clear", [](TCalculVariables& v) { v.Clear(); }, true, {}},
        {"SetText", [](TCalculVariables& v) { v.SetText("p=1\nq=2"); }, true, {}},
        {"assignment", [&](TCalculVariables& v) { v = other; }, true, {}},
        {"Add after a replacement", [](TCalculVariables& v) { v.Add("r=3"); }, false, {{Insert, 1}}},
    };
    TCalculVariables v;
    const std::uint64_t identity = v.Identity();
    TChanges changes;
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.what);
        const std::uint64_t before = v.ChangeCount();
        step.change(v);
        const std::uint64_t counted = step.replaced ? 1 : step.recorded.size();
        EXPECT_EQ(v.ChangeCount(), before + counted);
        EXPECT_EQ(v.ChangesSince(before, changes), !step.replaced);
        EXPECT_EQ(changes, step.recorded);
        EXPECT_TRUE(v.ChangesSince(v.ChangeCount(), changes)) << "nothing since now";
        EXPECT_TRUE(changes.empty());
        EXPECT_EQ(v.Identity(), identity) << "still the same list";
        EXPECT_EQ(v.TextLength(), v.Text().size());
    }
    EXPECT_EQ(v.Text(), "o=1\r\nr=3\r\n");
    EXPECT_NE(TCalculVariables(v).Identity(), identity) << "a copy is another list";
    EXPECT_FALSE(v.ChangesSince(v.ChangeCount() + 1, changes)) << "a count this list never had";
}

TEST(VariablesRecord, ForgetsItsChangesPastItsLimit)
{
    TCalculVariables v;
    v.SetText("i=0");
    const std::uint64_t start = v.ChangeCount();
    TChanges changes;
    for (std::size_t k = 0; k < TCalculVariables::MaxRecordedChanges; ++k) {
        v.SetStrings(0, "i=" + std::to_string(k));
    }
    EXPECT_TRUE(v.ChangesSince(start, changes));
    EXPECT_EQ(changes.size(), TCalculVariables::MaxRecordedChanges);
    v.SetStrings(0, "i=last");
    EXPECT_FALSE(v.ChangesSince(start, changes)) << "too far behind: read the list again";
    ASSERT_TRUE(v.ChangesSince(v.ChangeCount() - 1, changes));
    EXPECT_EQ(changes, (TChanges{{Set, 0}}));
}

// A list of entries that counts what it is asked to write.
class TRecordingRows : public IVariablesRows {
public:
    int RowCount() const override { return static_cast<int>(Rows.size()); }
    void ClearRows() override { Rows.clear(); }
    void InsertRow(int row, std::string_view text) override
    {
        Rows.insert(Rows.begin() + row, VariablesListEntry(text));
        ++Written;
    }
    void SetRow(int row, std::string_view text) override
    {
        Rows.at(static_cast<std::size_t>(row)) = VariablesListEntry(text);
        ++Written;
    }
    void DeleteRow(int row) override { Rows.erase(Rows.begin() + row); }

    std::vector<std::string> Rows;
    int Written = 0;
};

// The rows of the whole text as the list shows it: split at CR LF.
std::vector<std::string> RowsOfText(const std::string& text)
{
    std::vector<std::string> rows;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2) {
        rows.push_back(VariablesListEntry(std::string_view(text).substr(from, end - from)));
    }
    return rows;
}

TEST(VariablesView, RowsFollowEveryKindOfChange)
{
    const std::string longValue(20, 'x');
    struct TStep {
        const char* what;
        std::function<void(TCalculVariables&)> change;
        int written; // rows written by the update: only those of changed lines
    };
    TCalculVariables fresh;
    fresh.SetText("f=1\r\ng=2\r\n");
    const std::vector<TStep> steps = {
        {"the first view reads all", [&](TCalculVariables& v) { v.SetText("a=1\r\nlong=" + longValue + "\r\nc=3"); }, 3},
        {"nothing changed", [](TCalculVariables&) {}, 0},
        {"an assignment beside the long line",
         [](TCalculVariables& v) {
             v.Delete(0);
             v.Add("a=2");
         },
         1},
        {"set, then a line inserted before it",
         [](TCalculVariables& v) {
             v.SetStrings(2, "a=3");
             v.Insert(0, "z=0");
         },
         2},
        {"set, then deleted", [](TCalculVariables& v) {
             v.SetStrings(0, "z=1");
             v.Delete(0);
         },
         0},
        {"inserted, then deleted", [](TCalculVariables& v) {
             v.Insert(1, "t=1");
             v.Delete(1);
         },
         0},
        {"a line of three rows", [](TCalculVariables& v) { v.SetStrings(1, "c=p\r\nq=r\r\ns"); }, 3},
        {"a line after it", [](TCalculVariables& v) { v.Add("d=4"); }, 1},
        {"a line before it", [](TCalculVariables& v) { v.SetStrings(0, "long=short"); }, 1},
        {"it becomes one row", [](TCalculVariables& v) { v.SetStrings(1, "c=\r"); }, 1},
        {"two rows again, deleted with another",
         [](TCalculVariables& v) {
             v.SetStrings(2, "a=\r\n");
             v.Delete(0);
         },
         2},
        {"Clear", [](TCalculVariables& v) { v.Clear(); }, 0},
        {"lines after a clear", [](TCalculVariables& v) { v.SetText("x=1\r\ny=2\r\n"); }, 2},
        {"assignment of another list", [&](TCalculVariables& v) { v = fresh; }, 2},
        {"more changes than the record keeps",
         [](TCalculVariables& v) {
             for (std::size_t k = 0; k <= TCalculVariables::MaxRecordedChanges; ++k) {
                 v.SetStrings(1, "g=" + std::to_string(k));
             }
         },
         2},
    };
    TCalculVariables v;
    TVariablesListView view;
    TRecordingRows rows;
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.what);
        step.change(v);
        rows.Written = 0;
        view.Show(v, rows);
        EXPECT_EQ(rows.Rows, RowsOfText(v.Text()));
        EXPECT_EQ(rows.Written, step.written);
        // A row copied gives what it shows, found from the lines' row counts.
        for (std::size_t row = 0; row < rows.Rows.size(); ++row) {
            EXPECT_EQ(view.RowEntry(v, static_cast<int>(row)), rows.Rows[row]) << row;
        }
    }

    // Another list, and rows changed behind the view's back: read afresh.
    TCalculVariables other;
    other.SetText("o=1\r\n");
    rows.Written = 0;
    view.Show(other, rows);
    EXPECT_EQ(rows.Rows, RowsOfText(other.Text()));
    rows.Rows.push_back("&stray");
    view.Show(other, rows);
    EXPECT_EQ(rows.Rows, RowsOfText(other.Text()));
    EXPECT_EQ(rows.Written, 2);
}

// A rebuild (more changes than the record keeps, or another list) counts a line of two
// rows as two: the replays after it put every change on that line's own rows.
TEST(VariablesView, ReplaysAfterARebuildBesideATwoRowLine)
{
    TCalculVariables v;
    TCalculVariables other;
    for (const char* line : {"a=1", "two=x\r\ny", "c=3", "d=4"}) {
        v.Add(line);
    }
    for (const char* line : {"o=1", "pq=p\r\nq", "r=2"}) {
        other.Add(line);
    }
    const TCalculVariables* shown = &v;
    struct TStep {
        const char* what;
        std::function<void()> change;
        int written;
    };
    const std::vector<TStep> steps = {
        {"the first view", [] {}, 5},
        {"more changes than the record keeps",
         [&] {
             for (std::size_t k = 0; k <= TCalculVariables::MaxRecordedChanges; ++k) {
                 v.SetStrings(2, "c=" + std::to_string(k));
             }
         },
         5},
        {"the line after it", [&] { v.SetStrings(2, "c=after"); }, 1},
        {"a line before it goes", [&] { v.Delete(0); }, 0},
        {"a line before it comes", [&] { v.Insert(0, "z=0"); }, 1},
        {"the last line", [&] { v.SetStrings(3, "d=5"); }, 1},
        {"it becomes three rows", [&] { v.SetStrings(1, "two=x\r\ny\r\nz"); }, 3},
        {"a line after it comes", [&] { v.Add("e=6"); }, 1},
        {"it goes", [&] { v.Delete(1); }, 0},
        {"another list with a two-row line", [&] { shown = &other; }, 4},
        {"its line after it", [&] { other.SetStrings(2, "r=3"); }, 1},
        {"its line before it goes, one comes after", [&] {
             other.Delete(0);
             other.Add("s=4");
         },
         1},
        {"it becomes one row", [&] { other.SetStrings(0, "pq=1"); }, 1},
        {"the first list again", [&] { shown = &v; }, 4},
    };
    TVariablesListView view;
    TRecordingRows rows;
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        rows.Written = 0;
        view.Show(*shown, rows);
        EXPECT_EQ(rows.Rows, RowsOfText(shown->Text()));
        EXPECT_EQ(rows.Written, step.written);
    }
}

// Programs of random lines that touch variables, run through the engine's line loop
// and sometimes stepped back: after each, every name is found where a search of the
// lines finds it, and every time the list is shown (after each line, within SL, after
// each step back) its rows are those of the whole text.
TEST(VariablesView, NamesAndRowsFollowRandomRunsAndStepsBack)
{
    // Names differing in case only; none is a command word or starts a family that
    // takes a word holding "=".
    const std::vector<std::string> names = {"a", "A", "ab", "aB", "x1", "long_name", "b"};
    std::mt19937 rng(3);
    const auto below = [&](std::size_t n) { return static_cast<int>(rng() % n); };
    const auto name = [&] { return names[static_cast<std::size_t>(below(names.size()))]; };
    const auto number = [&] { return std::to_string(below(50)); };
    const std::vector<std::function<std::string()>> kinds = {
        [&] { return "&" + name() + " = " + number(); },
        [&] { return "&" + name() + " = &" + name() + " + " + number(); }, // an unknown name stores the text
        [&] { return "&" + name() + " = \"w\" | char(13) | char(10) | \"" + number() + "\""; }, // two rows
        [&] { return "&" + name() + " = \"w\" | char(10) | \"z\""; }, // a line break within a row
        [&] { return "&" + name() + " = \"w\" | char(13) | \"z\""; }, // and another
        [&] { return "&e = freevar(\"" + name() + "\")"; },
        [&] { return std::string("SL"); }, // clears the list and shows it within the line
        [&] { return "&e = existvar(\"" + name() + "\")"; },
        [&] { return "&d = y:=&" + name() + "*2;y+1"; }, // a definition, calculated on a copy
        [&] { return std::string("M2, 1, 1"); },
    };
    std::vector<std::string> probes;
    for (const std::string& n : names) {
        probes.push_back(n);
        std::string upper = n;
        for (char& c : upper) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        probes.push_back(upper);
    }
    probes.insert(probes.end(), {"e", "D", "y", "@@y", "nosuch"});

    TEngineHarness h;
    TProgramRunner runner(h.Move, h.Data, h.Calcul);
    TVariablesListView view;
    TRecordingRows rows;
    const TCalculVariables& vars = h.Calcul.GetVariables();
    int shows = 0;
    const auto show = [&] {
        view.Show(vars, rows);
        ++shows;
        EXPECT_EQ(rows.Rows, RowsOfText(vars.Text())) << "show " << shows;
    };
    h.Shell.OnShowVariables = [&](const TCalculVariables&) { show(); };
    for (int step = 0; step < 300; ++step) {
        std::string program;
        for (int k = 1 + below(6); k > 0; --k) {
            program += kinds[static_cast<std::size_t>(below(kinds.size()))]() + "\n";
        }
        SCOPED_TRACE("step " + std::to_string(step) + ":\n" + program);
        ASSERT_EQ(h.Run(program).Error, "");
        for (int back = below(4) == 0 ? 1 + below(3) : 0; back > 0 && runner.StepBack(h.Lines); --back) {
            show();
        }
        ASSERT_FALSE(HasFailure());
        std::vector<std::string> lines;
        for (int i = 0; i < vars.Count(); ++i) {
            lines.push_back(vars.Strings(i));
        }
        for (const std::string& probe : probes) {
            ASSERT_EQ(vars.IndexOfName(probe), SearchLines(lines, probe)) << probe;
        }
        show();
        ASSERT_FALSE(HasFailure());
    }
    EXPECT_GT(rows.Rows.size(), static_cast<std::size_t>(vars.Count())) << "two-row lines were shown";
    EXPECT_GT(shows, 1000);
}

// SL clears the variables and shows the list at once; the run loop shows it after
// every line.
TEST(VariablesView, SLShowsTheClearedList)
{
    TEngineHarness h;
    EXPECT_EQ(h.Run("&a = 1\n&b = 2\nSL").Error, "");
    EXPECT_EQ(h.Shell.VariablesText, "");
    EXPECT_EQ(h.Run("&a = 1\n&b = 2\n&a = &a + 1").Error, "");
    EXPECT_EQ(h.Shell.VariablesText, "b=2\r\na=2\r\n");
}

// A row's entry is had only while the rows show the variables as they are.
TEST(VariablesView, ARowsEntryIsHadOnlyWhileTheRowsShowTheVariables)
{
    TCalculVariables v;
    v.Add("s=1");
    TVariablesListView view;
    TRecordingRows rows;
    EXPECT_EQ(view.RowEntry(v, 0), std::nullopt) << "never shown";
    view.Show(v, rows);
    TCalculVariables other;
    other.Add("s=1");
    EXPECT_EQ(view.RowEntry(other, 0), std::nullopt) << "another list";
    EXPECT_EQ(view.RowEntry(v, -1), std::nullopt);
    EXPECT_EQ(view.RowEntry(v, 1), std::nullopt);
    v.SetStrings(0, "s=2");
    EXPECT_EQ(view.RowEntry(v, 0), std::nullopt) << "changed since shown";
    view.Show(v, rows);
    EXPECT_EQ(view.RowEntry(v, 0), "&s = 2");
}

} // namespace
