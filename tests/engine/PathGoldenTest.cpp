// Whole programs and the path text they leave: jogs first, then cuts.

#include "EnginePathSupport.h"

#include "engine/PathText.h"
#include "platform/core/Exceptions.h"
#include "platform/core/text/StringUtils.h"
#include "scene/objects/shapes/Cubes.h"
#include "scene/objects/lines/Lines.h"
#include "scene/objects/lines/LinesGroup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iomanip>
#include <limits>
#include <random>
#include <vector>

namespace {

const TPathCase Golden[] = {
    {"absolute", "M3, 1, 2, 3", "0,0,0;1,2,3"},
    {"relative", "SR\nMX, 1\nMX, 1", "0,0,0;1,0,0;2,0,0"},
    {"omitted coordinate stays", "M3, 1, 2, 3\nM3, 4, , 5", "0,0,0;1,2,3;4,2,5"},
    {"jog between moves", "M2, 1, 1\nJX, 5\nM2, 2, 2", "1,1,0;5,1,0;0,0,0;1,1,0;5,1,0;2,2,0"},
    // The move starts where the jog left the tool, even with a PRINT between.
    {"print after jog", "M2, 1, 1\nJX, 5\nPRINT \"x\"\nM2, 2, 2", "1,1,0;5,1,0;0,0,0;1,1,0;5,1,0;2,2,0"},
    {"every jog its own polyline", "J3, 1, 1, 1\nJH", "0,0,0;1,1,1;1,1,1;0,0,1"},
    {"home", "M3, 1, 1, 5\nMH", "0,0,0;1,1,5;0,0,1"},
    // Zeroing keeps the tool in place: the next move starts where it was.
    {"zero X", "M2, 2, 3\nZX\nM2, 0, 0", "0,0,0;2,3,0;2,3,0;2,0,0"},
    {"zero then relative", "M2, 2, 3\nZ2\nSR\nMX, 1", "0,0,0;2,3,0;2,3,0;3,3,0"},
    {"VA sets the position", "M2, 2, 3\nVA, 10, 10\nM2, 11, 10", "0,0,0;2,3,0;2,3,0;3,3,0"},
    {"UZ keeps the polyline", "M2, 2, 3\nUZ\nM2, 1, 0", "0,0,0;2,3,0;3,3,0"},
    {"MD degrees", "MD, 10, 90", "0,0,0;10,0,0"},
    {"MD compass", "MD, 10, N", "0,0,0;0,10,0"},
    {"MD clock", "MD, 10, 3:00", "0,0,0;10,0,0"},
    {"MD depth up", "MD, 1, 0, 0.5", "0,0,0;0,1,0.5"},
    {"MD depth down counts Z once", "MZ, 2\nMD, 1, 0, 0.5D", "0,0,0;0,0,2;0,1,1.5"},
    {"speeds add a node in place", "M2, 1, 1\nMS, 2\nJS, 4", "1,1,0;1,1,0;0,0,0;1,1,0;1,1,0"},
    {"assignment is no command", "FPX = 1\nM2, &FPX, 0", "0,0,0;1,0,0"},
};

class PathGolden : public ::testing::TestWithParam<TPathCase> {};

TEST_P(PathGolden, PathText)
{
    TPathEngine e;
    e.Shell.Suppress = true;
    EXPECT_EQ(ExpectedPath(GetParam().Path), e.Run(GetParam().Program)) << GetParam().Program;
}

INSTANTIATE_TEST_SUITE_P(Programs, PathGolden, ::testing::ValuesIn(Golden), PathCaseName);

TEST(PathText, FiveDecimalsUpToFifteenDigitsThenScientific)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    const struct {
        float Value;
        const char* Text;
    } cases[] = {
        {0.0f, "0.00000"},
        {-0.0f, "0.00000"},
        {-0.000004f, "0.00000"},
        {0.000005f, "0.00000"}, // the single lies just below the half
        {2.675e-3f, "0.00268"}, // the single lies just above the half
        {123456.789f, "123456.78906"},
        {-96.5f, "-96.50000"},
        {1e-40f, "0.00000"},
        {-1e15f, "-999999986991104.00000"}, // fifteen digits: still fixed
        {1e16f, "1.00000002725642E16"},
        {1e20f, "1.00000002004088E20"},
        {3.4e38f, "3.39999995214436E38"},
        {-3.4e38f, "-3.39999995214436E38"},
        {inf, "INF"},
        {-inf, "-INF"},
        {std::nanf(""), "NAN"},
    };
    for (const auto& c : cases) {
        std::string text;
        AppendPointText(text, c.Value, 1, c.Value);
        EXPECT_EQ(std::string(c.Text) + ",1.00000," + c.Text, text) << c.Value;
        EXPECT_EQ(text, TEngineData::PointToText(c.Value, 1, c.Value));
    }
}

// Five decimals rounded half up from the exact value of the single, as printf's exact
// expansion gives it: the digits past the fifth decide, a carry may add a digit.
std::string HalfUpFiveDecimals(float v)
{
    char exact[128];
    std::snprintf(exact, sizeof exact, "%.45f", std::fabs(static_cast<double>(v)));
    const std::string expansion(exact);
    const std::size_t point = expansion.find('.');
    std::string units = expansion.substr(0, point) + expansion.substr(point + 1, 5); // hundred-thousandths
    if (expansion[point + 6] >= '5') {
        std::size_t i = units.size();
        while (i > 0 && units[i - 1] == '9') {
            units[--i] = '0';
        }
        if (i == 0) {
            units.insert(0, "1");
        } else {
            ++units[i - 1];
        }
    }
    const std::string text = units.substr(0, units.size() - 5) + "." + units.substr(units.size() - 5);
    return (v < 0 && text.find_first_not_of("0.") != std::string::npos ? "-" : "") + text;
}

TEST(PathText, DigitsAreTheExactValueRoundedHalfUp)
{
    std::vector<float> values;
    // Where the rounding adds a digit or not, singles that are exact halves, and values
    // spread over magnitudes and signs.
    for (double ten = 1; ten < 1e11; ten *= 10) {
        for (const double d : {-0.000005, 0.0, 0.000005}) {
            const auto base = static_cast<float>(ten + d);
            values.insert(values.end(), {std::nextafter(base, 0.0f), base, std::nextafter(base, 1e30f)});
        }
    }
    for (int k = -200; k <= 200; ++k) {
        values.push_back(static_cast<float>(k) / 64.0f); // 0.015625: a half in the sixth decimal
        values.push_back(static_cast<float>(k) / 1024.0f);
    }
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> exponent(-7.0, 10.6);
    for (int i = 0; i < 3000; ++i) {
        const auto v = static_cast<float>(std::pow(10.0, exponent(rng)));
        values.push_back(i % 2 ? -v : v);
    }
    for (const float v : values) {
        std::string text;
        AppendPointText(text, v, 0, v);
        const std::string expected = HalfUpFiveDecimals(v);
        ASSERT_EQ(expected + ",0.00000," + expected, text) << std::setprecision(9) << v;
    }
}

TEST(PathText, SumOfAHundredThousandTermsIsOneArgument)
{
    std::string sum = "1";
    for (int i = 1; i < 100000; ++i) {
        sum += "+1";
    }
    TPathEngine e;
    EXPECT_EQ(ExpectedPath("0,0,0;100000,0,0"), e.Run("MX, " + sum));
}

TEST(PathText, KindIsTrimmedOfEveryBlankCharacter)
{
    TPathEngine e;
    e.Run("M3, 1, 2, 3");
    std::string text;
    e.Move.GetPathText("\tm\r\n", text);
    EXPECT_EQ(ExpectedPath("0,0,0;1,2,3"), text);
    text.clear();
    e.Move.GetPathText("\tx ", text);
    EXPECT_EQ("", text);
}

TEST(PathText, MoveArgumentsAreReadFromXOn)
{
    // A failing argument leaves the axes after it alone and is the one reported.
    TPathEngine e;
    const std::string error = e.RunForResults("M3, 1, 2, 3\nM5, &x + 1, 7, 8, 9, &b + 1").Error;
    EXPECT_NE(error.find("\"&x + 1\""), std::string::npos) << error;
    TVector pos;
    e.Move.GetPosition(pos);
    EXPECT_EQ(pos.Y, 2.0f);
    EXPECT_EQ(pos.Z, 3.0f);
    float a = 1, b = 1;
    e.Move.GetAB(a, b);
    EXPECT_EQ(a, 0.0f);
    EXPECT_EQ(b, 0.0f);
}

TEST(PathText, CountsAfterEachLine)
{
    struct Step {
        const char* Line;
        int Cuts;
        int LastCutNodes;
        int Jogs;
    };
    const Step steps[] = {
        {"M2, 1, 1", 1, 2, 0}, {"M2, 2, 2", 1, 3, 0}, {"JX, 5", 1, 3, 1}, {"M2, 2, 2", 2, 2, 1},
        {"ZX", 2, 2, 1},       {"MY, 0", 3, 2, 1},    {"CG, 1, 10, 0", 3, 2, 1}, {"M2, 0, 0", 4, 2, 1},
    };
    TPathEngine e;
    e.Shell.Suppress = true;
    std::string program;
    for (const Step& s : steps) {
        program += std::string(program.empty() ? "" : "\n") + s.Line;
        e.Run(program);
        ASSERT_EQ(e.CutCount(), s.Cuts) << s.Line;
        EXPECT_EQ(e.Move.CutLines().back()->Nodes().Count(), s.LastCutNodes) << s.Line;
        EXPECT_EQ(e.JogCount(), s.Jogs) << s.Line;
    }
}

TEST(PathText, ExtentsAndHeading)
{
    TPathEngine e;
    float maxX = 0, minX = 0, maxY = 0, minY = 0;
    e.Run("");
    EXPECT_FALSE(e.Move.GetExtents(maxX, minX, maxY, minY));
    EXPECT_EQ(maxX, -3.4e38f);
    EXPECT_EQ(e.Move.GetLastHeading(), 0.0);
    e.Run("M2, 1, 0\nJ2, 50, 50");
    EXPECT_DOUBLE_EQ(e.Move.GetLastHeading(), 180.0) << "the last segment looking back";
    ASSERT_TRUE(e.Move.GetExtents(maxX, minX, maxY, minY));
    EXPECT_EQ(maxX, 1.0f) << "jogs are not included";
    EXPECT_EQ(minY, 0.0f);
    e.Run("M2, 1, 1\nMD, 1, 90R");
    // Heading -135 looking back along the first segment, turned: (-135 - 90) / 2
    // degrees from +Y.
    TVector pos;
    e.Move.GetPosition(pos);
    EXPECT_NEAR(pos.X, 1 + std::sin(-112.5 * M_PI / 180), 1e-5);
    EXPECT_NEAR(pos.Y, 1 + std::cos(-112.5 * M_PI / 180), 1e-5);
}

// A drilling job: a jog to each hole, down and up again. Each hole makes a jog
// polyline and a cut polyline; none of them ever needs a node collection.
const char* const Drilling = "J3, 1, 1, 0.5\nM3, 1, 1, -0.25\nM3, 1, 1, 0.5\n"
                             "J3, 3, 2, 0.5\nM3, 3, 2, -0.25\nM3, 3, 2, 0.5\n"
                             "J3, 5, 1.5, 0.5\nM3, 5, 1.5, -0.5\nM3, 5, 1.5, 0.5";

TEST(PathText, DrillingKeepsItsPathAndBarePolylines)
{
    TPathEngine e;
    TGLLinesGroup parent;
    e.Move.SetLinesParent(&parent);
    EXPECT_EQ(ExpectedPath("0,0,0;1,1,0.5;1,1,0.5;3,2,0.5;3,2,0.5;5,1.5,0.5;"
                           "1,1,0.5;1,1,-0.25;1,1,0.5;3,2,0.5;3,2,-0.25;3,2,0.5;5,1.5,0.5;5,1.5,-0.5;5,1.5,0.5"),
              e.Run(Drilling));
    EXPECT_EQ(e.JogCount(), 3);
    EXPECT_EQ(e.CutCount(), 3);
    EXPECT_EQ(parent.Count(), 6);
    for (const TGLLinesArray* lines : {&e.Move.CutLines(), &e.Move.JogLines()}) {
        for (const TGLLines* line : *lines) {
            EXPECT_FALSE(line->HasNodeCollection());
            EXPECT_FALSE(line->HasPlacement());
            EXPECT_FALSE(line->HasMaterial());
        }
    }
    float maxX = 0, minX = 0, maxY = 0, minY = 0;
    ASSERT_TRUE(e.Move.GetExtents(maxX, minX, maxY, minY));
    EXPECT_EQ(maxX, 5.0f);
    EXPECT_EQ(minY, 1.0f);
    e.Move.Reset();
    EXPECT_EQ(parent.Count(), 0);
    e.Move.SetLinesParent(nullptr);
}

// Stepping back line by line, across every jog, leaves the path that running only the
// lines before gives.
TEST(PathText, StepBackAcrossJogs)
{
    TPathEngine full;
    full.Run(Drilling);
    const TProgramLines lines = full.Lines;
    for (std::size_t kept = lines.size(); kept-- > 0;) {
        ASSERT_TRUE(full.Runner.StepBack(lines)) << kept;
        std::string prefix;
        for (std::size_t i = 0; i < kept; ++i) {
            prefix += lines[i] + "\n";
        }
        TPathEngine partial;
        std::string expected = partial.Run(prefix);
        EXPECT_EQ(ResultsText(full.Move), expected) << "after stepping back to " << kept << " lines";
        EXPECT_EQ(full.CutCount(), partial.CutCount());
        EXPECT_EQ(full.JogCount(), partial.JogCount());
    }
    EXPECT_FALSE(full.Runner.StepBack(lines));
}

TEST(PathText, StepBackRestoresPositionOffsetsAndNodes)
{
    TPathEngine e;
    e.Run("M2, 1, 1\nZX\nM2, 2, 2\nJY, 4");
    TVector pos;
    ASSERT_TRUE(e.Runner.StepBack(e.Lines)); // JY
    EXPECT_EQ(e.JogCount(), 0);
    ASSERT_TRUE(e.Runner.StepBack(e.Lines)); // M2, 2, 2
    EXPECT_EQ(e.CutCount(), 1);
    e.Move.GetPosition(pos);
    EXPECT_EQ(pos.X, 0.0f);
    EXPECT_EQ(pos.Y, 1.0f);
    EXPECT_EQ(e.Move.ZeroOffset().X, 1.0f);
    ASSERT_TRUE(e.Runner.StepBack(e.Lines)); // ZX is undone, not applied again
    e.Move.GetPosition(pos);
    EXPECT_EQ(pos.X, 1.0f);
    EXPECT_EQ(e.Move.ZeroOffset().X, 0.0f);
    EXPECT_TRUE(e.Move.Moving);
    ASSERT_TRUE(e.Runner.StepBack(e.Lines)); // M2, 1, 1
    EXPECT_EQ(e.CutCount(), 0);
    EXPECT_FALSE(e.Runner.StepBack(e.Lines));
    std::string text;
    e.Move.GetPathText("M", text);
    EXPECT_EQ(text, "");
}

TEST(PathText, NodeHandlersStartAPolylineWhenNoneExists)
{
    TPathEngine e;
    e.Run("J2, 3, 0");
    e.Data.AddMoveNode(false, false, 3, 1, 0); // no cut polyline yet
    e.Data.AddJogNode(true, false, 3, 2, 0);
    e.Data.AddMoveNode(false, true, 3, 5, 0); // starts at the tool, not at the point
    std::string text;
    e.Move.GetPathText("M", text);
    EXPECT_EQ(ExpectedPath("3,1,0;3,2,0;3,5,0"), text);
    TAffineVector bit;
    e.Move.GetBitTarget(bit);
    EXPECT_EQ(bit.Y, 2.0f) << "the bit stays where the position is";
    TVector pos;
    e.Move.GetPosition(pos);
    EXPECT_EQ(pos.Y, 2.0f) << "only the jog node set the position";
}

// A plug-in's nodes draw; the tool, and the bit's target with it, goes only where the
// position goes, in the scene: the position plus the zero offsets.
TEST(PathText, NodeHandlersMoveTheBitOnlyWithThePosition)
{
    TPathEngine e;
    e.Run("M2, 2, 3\nZ2"); // position (0, 0, 0), shown at (2, 3, 0)
    const struct {
        const char* Name;
        bool Jog, SetCurPos, NewLine;
        float X, Y, Z;
        TAffineVector Bit;
        TAffineVector Position;
    } steps[] = {
        {"jog, new polyline", true, false, true, 5, 5, 1, {2, 3, 0}, {0, 0, 0}},
        {"move appended", false, false, false, 6, 6, 1, {2, 3, 0}, {0, 0, 0}},
        {"jog with the position", true, true, false, 1, 1, 0, {3, 4, 0}, {1, 1, 0}},
        {"move with the position, new polyline", false, true, true, 4, 0, 0, {6, 3, 0}, {4, 0, 0}},
        {"move without it after", false, false, false, 9, 9, 9, {6, 3, 0}, {4, 0, 0}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.Name);
        (s.Jog ? e.Data.AddJogNode(s.SetCurPos, s.NewLine, s.X, s.Y, s.Z)
               : e.Data.AddMoveNode(s.SetCurPos, s.NewLine, s.X, s.Y, s.Z));
        TAffineVector bit;
        e.Move.GetBitTarget(bit);
        EXPECT_EQ((std::vector<float>{bit.X, bit.Y, bit.Z}), (std::vector<float>{s.Bit.X, s.Bit.Y, s.Bit.Z}));
        TVector pos;
        e.Move.GetPosition(pos);
        EXPECT_EQ((std::vector<float>{pos.X, pos.Y, pos.Z}),
                  (std::vector<float>{s.Position.X, s.Position.Y, s.Position.Z}));
    }
    // The new cut polyline started where the tool was, not at the plug-in's last node.
    std::string cut;
    e.Move.GetPathText("M", cut);
    EXPECT_EQ(cut, ExpectedPath("0,0,0;2,3,0;6,6,1;3,4,0;4,0,0;9,9,9"));
}

class SubFiles : public ::testing::Test {
protected:
    SubFiles() { e.Shell.Suppress = true; }
    void Write(const std::string& name, const std::string& text) { folder.Write(name, text); }
    std::string MainFile(const std::string& text)
    {
        Write("main.sbp", text);
        return folder.Path("main.sbp");
    }
    std::string RunMain(const std::string& text) { return e.Runner.RunFileForResults(MainFile(text)); }
    std::string ErrorOf(const std::string& text) { return e.RunFileForResults(MainFile(text)).Error; }

    TTempFolder folder{"fp"};
    TPathEngine e;
};

TEST_F(SubFiles, OffsetAndScaleApplyInsideAndTheTravelIsDrawn)
{
    Write("PART2.SBP", "M2, 1, 1\r\nEND\r\nM2, 9, 9\r\n");
    // The name is found whatever its case; END ends only the sub-file.
    const std::string path = RunMain("M2, 5, 5\nFP, part2, 2, 2, 1, 1, 1\nM2, 0, 0");
    EXPECT_EQ(ExpectedPath("0,0,0;5,5,0;12,12,0;0,0,0"), path);
    EXPECT_EQ(e.Data.GetSysVarFloat(61), 5.0f);
    EXPECT_EQ(e.Data.GetSysVarStr(66), "2");
    EXPECT_EQ(e.Move.PartFiles().Depth(), 1);
}

TEST_F(SubFiles, BitTargetFollowsTheScaledPath)
{
    Write("inner.sbp", "M2, 1, 1\nPRINT \"inside\"");
    e.Data.SetOnRunFile(nullptr); // take the sub-file run over to look inside it
    TAffineVector bit{};
    e.Data.SetOnRunFile([&](const std::string& name) {
        e.Runner.RunFile(name);
        e.Move.GetBitTarget(bit);
    });
    RunMain("FP, inner.sbp, 3, 3, 1, 1, 1");
    EXPECT_EQ(bit.X, 3.0f);
    EXPECT_EQ(bit.Y, 3.0f);
}

TEST_F(SubFiles, NamesAndFailures)
{
    std::filesystem::create_directories(folder.Dir / "sub.dir");
    Write("sub.dir/part.sbp", "MY, 1");
    EXPECT_EQ(ExpectedPath("0,0,0;0,1,0"), RunMain("FP, sub.dir/PART")) << "a dot in the folder is no extension";

    Write("premium.sbp", "MX, 1");
    EXPECT_EQ(ExpectedPath("0,0,0;1,0,0"), RunMain("FP, premium.sbp")) << "REM inside a name is kept";
    // A fraction where a whole number belongs ends the run before any level is pushed.
    EXPECT_THROW(RunMain("FP, premium.sbp, 1, 1, 1, 1, 1.5"), EConvertError);
    EXPECT_EQ(e.Move.PartFiles().Depth(), 1);

    Write("self.sbp", "FP, self.sbp");
    const std::string error = ErrorOf("FP, self.sbp");
    EXPECT_NE(error.find("nested deeper than 32"), std::string::npos) << error;
    EXPECT_EQ(e.Move.PartFiles().Depth(), 1) << "every level pushed was popped";

    EXPECT_EQ(ErrorOf("FP, missing.sbp"), "Cannot find file: " + folder.Path("missing.sbp"));
    EXPECT_EQ(e.Move.PartFiles().Depth(), 1);
}


// A program that names its sub-file in a variable, set by an assignment or by INPUT.
TEST_F(SubFiles, VariableNamesTheFile)
{
    Write("part2.sbp", "M2, 1, 1");
    const std::string expected = ExpectedPath("0,0,0;5,5,0;6,6,0");
    EXPECT_EQ(expected, RunMain("&partfile = \"part2\"\nM2, 5, 5\nFP, &partfile, , , , , 2"));
    EXPECT_EQ(e.Data.GetSysVarStr(60), folder.Path("part2.sbp"));

    e.Dialogs.ExpectInput(std::string("part2"));
    EXPECT_EQ(expected, RunMain("INPUT \"Part file?\" &partfile\nM2, 5, 5\nFP,  &PartFile , , , , , 2"));
    EXPECT_TRUE(e.Dialogs.AllAnswered());

    // Names that hold "-", "/" or "." are names, even where variables would match.
    Write("my-part.sbp", "MX, 3");
    EXPECT_EQ(ExpectedPath("0,0,0;3,0,0"), RunMain("&my = 1\n&part = 2\nFP, my-part"));
    EXPECT_EQ(ExpectedPath("0,0,0;3,0,0"), RunMain("&my = 1\n&part = 2\nFP, ./my-part.sbp"));
}

// Variable text comes upper-cased, and programs from case-blind file systems spell
// folders as they like: every component of the name is found whatever its case.
TEST_F(SubFiles, FoldersAreFoundWhateverTheirCase)
{
    std::filesystem::create_directories(folder.Dir / "parts");
    std::filesystem::create_directories(folder.Dir / "Jobs/Sub");
    Write("parts/sub.sbp", "MX, 2");
    Write("Jobs/Sub/part.sbp", "MY, 3");
    const std::string upperFolder = UpperCase(folder.Dir.string());
    const struct {
        std::string Program;
        std::string Path;
        std::string File; // what %(60) holds
    } cases[] = {
        {"&n = \"parts/sub\"\nFP, &n", "0,0,0;2,0,0", "parts/sub.sbp"},
        {"&n = \"Parts/Sub.SBP\"\nFP, &n", "0,0,0;2,0,0", "parts/sub.sbp"},
        {"FP, jobs/sub/part.sbp", "0,0,0;0,3,0", "Jobs/Sub/part.sbp"},
        {"FP, JOBS/SUB/PART", "0,0,0;0,3,0", "Jobs/Sub/part.sbp"},
        {"&n = \"" + folder.Path("jobs/sub/part") + "\"\nFP, &n", "0,0,0;0,3,0", "Jobs/Sub/part.sbp"},
        {"FP, " + upperFolder + "/PARTS/SUB.SBP", "0,0,0;2,0,0", "parts/sub.sbp"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExpectedPath(c.Path), RunMain(c.Program)) << c.Program;
        EXPECT_TRUE(std::filesystem::equivalent(folder.Path(c.File), e.Data.GetSysVarStr(60))) << c.Program;
    }
    EXPECT_EQ(ErrorOf("&n = \"jobs/part\"\nFP, &n"), "Cannot find file: JOBS/PART.sbp");
}

TEST_F(SubFiles, UnknownOrEmptyVariableStopsTheRun)
{
    EXPECT_EQ(ErrorOf("MX, 1\nFP, &nothing"),
              "Cannot evaluate the expression \"&nothing\" (line: 2): Unknown variable:NOTHING");
    EXPECT_EQ(ErrorOf("&partfile = \"\"\nFP, &partfile"), "Cannot find file: " + folder.Path(".sbp"));
    EXPECT_EQ(e.Move.PartFiles().Depth(), 1);
}

TEST(PathStyles, PolylinesUnderTheLinesParentWithTheirStyles)
{
    TGLDummyCube parent;
    TPathEngine e;
    e.Move.SetLinesParent(&parent);
    e.Move.SetPathColors({0, 1, 0, 1}, {1, 1, 0, 1});
    e.Move.SetPathDashed(true, false);
    e.Run("M2, 1, 1\nJX, 5");
    ASSERT_EQ(parent.Count(), 2);
    const TGLLines* cut = e.Move.CutLines()[0];
    const TGLLines* jog = e.Move.JogLines()[0];
    EXPECT_EQ(cut->LineColor().Green(), 1.0f);
    EXPECT_EQ(cut->LinePattern(), 0x8888);
    EXPECT_EQ(cut->LineWidth(), 1.0f);
    EXPECT_EQ(cut->NodesAspect(), lnaInvisible);
    EXPECT_EQ(jog->LineColor().Red(), 1.0f);
    EXPECT_EQ(jog->LinePattern(), 0xFFFF);
    EXPECT_EQ(jog->LineWidth(), 0.5f);
    EXPECT_FALSE(jog->Visible()) << "jogs hidden until asked";
    e.Move.SetJogsVisible(true);
    EXPECT_TRUE(jog->Visible());
    e.Move.SetPathColors({1, 1, 1, 1}, {1, 1, 1, 1});
    EXPECT_EQ(cut->LineColor().Red(), 0.0f) << "existing polylines keep their style";

    e.Move.Reset();
    EXPECT_EQ(parent.Count(), 0);
    EXPECT_TRUE(e.Move.CutLines().empty());
    TVector pos;
    e.Move.GetPosition(pos);
    EXPECT_EQ(pos.X, 5.0f) << "the position stays";
    e.Move.SetLinesParent(nullptr);
}

} // namespace
