// A numeral beyond the range its reader holds (a double's, or a single's where the
// reader takes a single) is out of range, not an omitted argument: the line stops the
// run with an error that names the value (the coordinate-range error for a target),
// draws nothing and leaves the position, A, B, the tool, the zero offsets and the
// settings where it found them. Empty arguments, words and numerals too small to hold
// keep their meaning; an integer argument that no int holds takes its default.

#include "EnginePathSupport.h"

#include "engine/ArgumentNumbers.h"
#include "engine/EngineErrors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string RangeError(const std::string& word, int line)
{
    return "The target of \"" + word + "\" is beyond the coordinate range (line: " + std::to_string(line) + ")";
}

// What a refused line is told: the value its argument holds, or, without a name, that
// its target is beyond the coordinate range.
struct TRefusal {
    const char* Word;
    const char* Name = "";
    int Argument = 0;

    std::string Message(int line) const
    {
        if (!*Name) {
            return RangeError(Word, line);
        }
        return std::string("The ") + Name + " of \"" + Word + "\" (argument " + std::to_string(Argument)
            + ") is beyond its range (line: " + std::to_string(line) + ")";
    }
};

// Every way a numeral grows past a double: by its exponent, by its digits, negative
// (through the evaluator, which reads a signed exponent), past the evaluator's own
// range, and by digits that a negative exponent does not bring back.
std::vector<std::string> OverflowingNumerals()
{
    return {"1e400",
            "1" + std::string(400, '0'),
            std::string(10000, '9'),
            "-2e308",
            "1e309",
            "+1E400",
            "-1e5000",
            "1" + std::string(400, '0') + "e-5",
            ".5e400",
            "1e200*1e200"};
}

struct TState {
    std::vector<float> Position; // X, Y, Z, A, B
    std::vector<float> Tool;
    std::vector<float> Zero; // X, Y, Z, A, B
};

TState StateOf(TPathEngine& e)
{
    TVector pos;
    e.Move.GetPosition(pos);
    float a = 0, b = 0, za = 0, zb = 0;
    e.Move.GetAB(a, b);
    e.Move.GetZeroAB(za, zb);
    TAffineVector tool;
    e.Move.GetBitTarget(tool);
    const TVector zero = e.Move.ZeroOffset();
    return {{pos.X, pos.Y, pos.Z, a, b}, {tool.X, tool.Y, tool.Z}, {zero.X, zero.Y, zero.Z, za, zb}};
}

// Runs `before` alone, then `before`, the failing line and a line that must not run:
// the failing run ends with that line's error and in the state `before` left.
void ExpectRefused(const std::string& before, const std::string& line, const TRefusal& refusal)
{
    SCOPED_TRACE(line.size() > 80 ? line.substr(0, 80) + "..." : line);
    TPathEngine reference;
    const TRunOutcome expected = reference.RunForResults(before);
    ASSERT_EQ("", expected.Error);
    const int lineNumber = static_cast<int>(ToLines(before).size()) + 1;

    TPathEngine e;
    const TRunOutcome run = e.RunForResults(before + "\n" + line + "\nM2, 9, 9");
    EXPECT_EQ(refusal.Message(lineNumber), run.Error);
    EXPECT_EQ(expected.Path, run.Path);
    const TState want = StateOf(reference);
    const TState got = StateOf(e);
    EXPECT_EQ(want.Position, got.Position);
    EXPECT_EQ(want.Tool, got.Tool);
    EXPECT_EQ(want.Zero, got.Zero);
    EXPECT_EQ(e.Move.CountedPathTextBytes(), run.Path.size());
}

TEST(NumeralRange, EveryMoveAndJogRefusesEveryOverflowingNumeral)
{
    // The numeral in the last argument, so the axes read before it were changed.
    const char* words[] = {"MX", "MY", "MZ", "MA", "MB", "M2", "M3", "M4", "M5",
                           "JX", "JY", "JZ", "JA", "JB", "J2", "J3", "J4", "J5"};
    for (const std::string& numeral : OverflowingNumerals()) {
        for (const char* word : words) {
            const char letter = word[1];
            const int leading = letter >= '2' && letter <= '5' ? letter - '0' - 1 : 0;
            std::string line = word;
            for (int k = 0; k < leading; ++k) {
                line += k == 0 ? " 7" : ", 7";
            }
            line += (leading == 0 ? " " : ", ") + numeral;
            ExpectRefused("M5, 1, 1, 1, 1, 1", line, {word});
        }
    }
}

TEST(NumeralRange, OverflowReachedThroughModesVariablesAndStatements)
{
    ExpectRefused("SR\nM2, 1, 1", "MX, 1e400", {"MX"});
    ExpectRefused("SR\nM2, 1, 1", "JY, -1e309", {"JY"});
    // A numeral assigned to a variable stays a number, not a text that is none.
    ExpectRefused("&x = 1e400\nM2, 1, 1", "M2, &x, 0", {"M2"});
    ExpectRefused("&x = 1e400\nM2, 1, 1", "M3, 0, 0, -&x", {"M3"});
    ExpectRefused("M2, 1, 1", "IF 1 = 1 THEN J2, 0, 1e400", {"J2"});
    ExpectRefused("M2, 1, 1", "M2, %(1) + 1e400, 0", {"M2"});
    ExpectRefused("M2, 1, 1", "IF 1 = 1 THEN MS, 1e400", {"MS", "speed", 1});
    ExpectRefused("&s = 1e400\nM2, 1, 1", "JS, 1, &s", {"JS", "speed", 2});
}

TEST(NumeralRange, ShapesDistancesSubFilesAndPositionValues)
{
    const std::string huge = "1" + std::string(400, '0');
    const std::pair<std::string, TRefusal> lines[] = {
        {"CC, 1e400", {"CC", "diameter", 1}},
        {"CC, 2, , 1, 1e400", {"CC", "start angle", 4}},
        {"CC, 2, , 1, 0, 360, 1e39", {"CC", "plunge", 6}}, // the plunge is a single
        {"CC, 2, , 1, 0, 360, 0, 1, 1, 1e39", {"CC", "proportion", 9}},
        {"CP, 1, 1e400, 0", {"CP", "centre offset", 2}},
        {"CP, 1, 0, 0, , 1, 0, 1e39", {"CP", "end angle", 7}},
        {"CP, 1, 0, 0, , 1, 0, 90, 0, 1, 1e39", {"CP", "proportion", 10}},
        {"CA, 1e400, 1", {"CA", "chord width", 1}},
        {"CA, 2, " + huge, {"CA", "height", 2}},
        {"CA, 2, 1, , , , -1e400", {"CA", "plunge", 6}},
        {"CR, 1e400", {"CR", "X length", 1}},
        {"CR, 1, 1e39", {"CR", "Y length", 2}},
        {"CR, 1, 1, , 1e39", {"CR", "direction", 4}},
        {"CR, 1, 1, , 1, -1e39", {"CR", "start corner", 5}},
        // CG's end point is where the tool goes: a target.
        {"CG, , 1e400, 0", {"CG"}},
        {"CG, 1e39, 1, 1", {"CG", "diameter", 1}},
        {"CG, , 1, 1, 1e39", {"CG", "centre offset", 4}},
        {"CG, 2, 1, 1, , , , , 1e309", {"CG", "plunge", 8}},
        {"CG, 2, 1, 1, , , , , 0, 1, 1, 1e39", {"CG", "proportion", 11}},
        {"MD, 1e400, 90", {"MD", "distance", 1}},
        // An exponent's "E" makes a direction a compass point, so only digits here.
        {"MD, 1, " + huge, {"MD", "direction", 2}},
        {"MD, 1, " + huge + "R", {"MD", "direction", 2}},
        {"MD, 1, 90, 1e400U", {"MD", "depth", 3}},
        {"MD, 1, 90, -1e400", {"MD", "depth", 3}},
        // Refused before the file (there is none) is looked for.
        {"FP, part, 1e400", {"FP", "scale", 2}},
        {"FP, part, 1, 1e39", {"FP", "scale", 3}},
        {"FP, part, 1, 1, 1, 1e400", {"FP", "value", 5}},
        {"FP, part, 1, 1, 1, 1, 1e400", {"FP", "offset mode", 6}},
        {"FP, part, 1, 1, 1, 1, 1, 1e39", {"FP", "value", 7}},
        {"VA, 1e400", {"VA", "offset", 1}},
        {"VA, , , , , 1e39", {"VA", "offset", 5}},
        {"VA, 1, 2, 3, 4, 5, 1e400", {"VA", "value", 6}},
        // The offsets the values leave would be beyond the range.
        {"VA, -3e38", {"VA", "offset", 1}},
    };
    for (const auto& [line, refusal] : lines) {
        ExpectRefused("M2, 3e38, 1\nZY\nMZ, 2", line, refusal);
    }
    ExpectRefused("MZ, -3e38", "VA, 0, 0, 3e38", {"VA", "offset", 3});
    // In relative mode the value is added to where the axis stands.
    ExpectRefused("SR\nMY, 3e38", "VA, 0, 3e38", {"VA", "offset", 2});
}

struct TSettingCase {
    std::string Program;
    TRefusal Refusal;          // no word: the line runs
    std::vector<std::pair<int, float>> Vars;  // what the settings hold afterwards
};

TEST(NumeralRange, SettingsReadAllTheirArgumentsBeforeWritingAny)
{
    const TSettingCase cases[] = {
        {"MS, 2, 1e400", {"MS", "speed", 2}, {{71, 3}, {72, 3}, {73, 1}}},
        {"MS, 2, 2, 2, 1e39", {"MS", "speed", 4}, {{71, 3}, {74, 1}}},
        {"JS, -1e400", {"JS", "speed", 1}, {{76, 12}}},
        {"JS, 5, 5, 5, 1" + std::string(400, '0'), {"JS", "speed", 4}, {{76, 12}, {79, 3}}},
        {"VS, 1, 1, 1, 1, 1e400", {"VS", "speed", 5}, {{71, 3}, {75, 720}, {76, 12}}},
        {"VC, 1e39", {"VC", "tool diameter", 1}, {{23, 0.25f}}},
        {"VC, 0.5, , , 1e39", {"VC", "safe height", 4}, {{23, 0.25f}, {28, 1}}},
        {"VC, 0.5, , , , , 1e400", {"VC", "pocket overlap", 6}, {{23, 0.25f}, {-4, 10}}},
        {"VC, 0.5, , , , , , 1e39", {"VC", "value", 7}, {{23, 0.25f}, {29, 1}}},
        {"VL, 1, 2, 3, 4, 5, 6, 7, 8, 9, 1e400", {"VL", "table limit", 10}, {{11, -0.5f}, {19, -500}}},
        {"VU, 1, 1, 1, 1, 1e400", {"VU", "arc step", 5}, {{31, 1273.2395f}, {-1, 0.05f}}},
        {"VU, 1, 1, 1, 1, 1, 1, 1, 1, 1e39", {"VU", "unit value", 9}, {{31, 1273.2395f}, {35, 1273.2395f}}},
        {"VB, 1, 2, 3, 4, 0, 0, 1e39", {"VB", "value", 7}, {{41, 0.1f}, {44, 0.5f}}},
        // Neighbours: too small reads as 0, a word or nothing as the default.
        {"MS, 2, 1e-400, abc, ", {""}, {{71, 2}, {73, 0}, {74, 1}, {75, 720}}},
        {"JS, -1e-400, 0." + std::string(400, '0') + "1", {""}, {{76, 0}, {78, 0}, {79, 3}}},
        {"VC, 3.4e38", {""}, {{23, 3.4e38f}}},
    };
    for (const TSettingCase& c : cases) {
        SCOPED_TRACE(c.Program);
        TPathEngine e;
        const TRunOutcome run = e.RunForResults(c.Program);
        EXPECT_EQ(*c.Refusal.Word ? c.Refusal.Message(1) : "", run.Error);
        for (const auto& [n, value] : c.Vars) {
            EXPECT_FLOAT_EQ(value, e.Data.GetSysVarFloat(n)) << "%(" << n << ")";
        }
    }
}

// Repetitions, directions and options are whole numbers: a text that is no integer
// numeral takes the default, a numeral no int holds too, as a word does.
TEST(NumeralRange, IntegerArgumentsThatNoIntHoldsTakeTheirDefault)
{
    const std::string huge = "1" + std::string(400, '0');
    const std::pair<std::string, std::string> cases[] = {
        {"CC, 2, , 1e400", "CC, 2"},
        {"CC, 2, , 99999999999", "CC, 2"},
        {"CC, 2, , , , , , 1e400", "CC, 2"},
        {"CC, 2, , , , , -0.5, " + huge, "CC, 2, , , , , -0.5"},
        {"CP, 2, 1, 0, , -1e400", "CP, 2, 1, 0"},
        {"CP, 2, 1, 0, , , , , , , , , 2147483648", "CP, 2, 1, 0"},
        {"CA, 2, 1, , 1e400", "CA, 2, 1"},
        {"CG, 2, 1, 1, , , , 1e400", "CG, 2, 1, 1"},
        {"CR, 2, 1, , , , , 1e400", "CR, 2, 1"},
    };
    for (const auto& [program, same] : cases) {
        SCOPED_TRACE(program.substr(0, 60));
        TPathEngine reference;
        const TRunOutcome expected = reference.RunForResults("M2, 1, 1\n" + same);
        TPathEngine e;
        const TRunOutcome run = e.RunForResults("M2, 1, 1\n" + program);
        EXPECT_EQ("", run.Error);
        EXPECT_EQ(expected.Path, run.Path);
        EXPECT_GT(run.Path.size(), 100u);
    }
    TPathEngine e;
    EXPECT_EQ("", e.RunForResults("SF, 5\nSF, 1e400").Error);
    EXPECT_EQ(0, e.Data.GetSysVarInt(-2));
    EXPECT_EQ("", e.RunForResults("SF, 5\nSF, -99999999999").Error);
    EXPECT_EQ(0, e.Data.GetSysVarInt(-2));
}

TEST(NumeralRange, ArgumentsThatAreNoOverflowKeepTheirMeaning)
{
    const std::pair<std::string, std::string> cases[] = {
        {"M2, 5, 5\nM2, , 1", "0,0,0;5,5,0;5,1,0"},
        {"M2, 5, 5\nM2, abc, 1", "0,0,0;5,5,0;5,1,0"},
        {"M2, 5, 5\nM2, 1e-400, 1", "0,0,0;5,5,0;0,1,0"},
        {"M2, 5, 5\nM2, 0." + std::string(400, '0') + "1, 1", "0,0,0;5,5,0;0,1,0"},
        {"M2, 5, 5\nM2, 1" + std::string(20, '0') + "e-20, 1", "0,0,0;5,5,0;1,1,0"},
    };
    for (const auto& [program, path] : cases) {
        SCOPED_TRACE(program.substr(0, 60));
        TPathEngine e;
        const TRunOutcome run = e.RunForResults(program);
        EXPECT_EQ("", run.Error);
        EXPECT_EQ(ExpectedPath(path), run.Path);
    }
    // A direction beyond a single is still an angle for a reader of doubles.
    TPathEngine e;
    EXPECT_EQ("", e.RunForResults("MD, 1, 1e308").Error);
    EXPECT_EQ(2u, e.Move.PathNodeCount());
}

TEST(NumeralRange, AClampNamesTheFieldBeyondTheRange)
{
    TEngineHarness h;
    // The evaluator has read the signed numeral and written it its own way.
    EXPECT_EQ("The [CLAMP] line's y \"-1E400\" is out of range (line: 1)",
              h.Run("[CLAMP] c, 1, -1e400, 0, 1, 1, 1").Error);
    EXPECT_EQ(0, h.Move.Clamps().Count());
}

TEST(NumeralRange, TheReaderTellsNumbersWordsAndOverflow)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    const std::pair<std::string, std::optional<double>> cases[] = {
        {"12.5", 12.5},
        {" -0.25\t", -0.25},
        {"5.", 5},
        {".5", 0.5},
        {"+3", 3},
        {"1e3", 1000},
        {"1E+3", 1000},
        {"1e400", inf},
        {"-1e400", -inf},
        {"1" + std::string(400, '0') + "e-5", inf},
        {"0.000001e309", 1e303},
        {"1e-400", 0},
        {"0." + std::string(400, '0') + "1", 0},
        {"0e99999999999999999999", 0},
        {"+Inf", inf},
        {"-Inf", -inf},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"Inf", std::nullopt},
        {"nan", std::nullopt},
        {"1e", std::nullopt},
        {".", std::nullopt},
        {"1.5.2", std::nullopt},
        {"1,5", std::nullopt},
        {"0x10", std::nullopt},
        {"--1", std::nullopt},
        {"1e400x", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text.substr(0, 40));
        double value = 42;
        ASSERT_EQ(expected.has_value(), ReadArgumentNumber(text, value));
        if (expected) {
            EXPECT_EQ(*expected, value);
        }
    }
    // The readers of a kind: beyond a single or a double is out of range.
    float single = 0;
    double number = 0;
    EXPECT_THROW(ReadSingleArgument("1e39", single), ENumberRange);
    EXPECT_TRUE(ReadSingleArgument("3.4e38", single));
    EXPECT_TRUE(ReadDoubleArgument("1e39", number));
    EXPECT_THROW(ReadDoubleArgument("-1e309", number), ENumberRange);
    EXPECT_THROW(StrictDoubleArgument("1e400"), ENumberRange);
    EXPECT_THROW(StrictDoubleArgument("abc"), EConvertError);
    // The reading of an argument gives its error the argument's place, for the message
    // that names it; a number it reads comes through.
    try {
        ReadArgument(7, [] { return StrictDoubleArgument("1e400"); });
        ADD_FAILURE() << "1e400 was read";
    } catch (const ENumberRange& e) {
        EXPECT_EQ(7, e.Argument());
    }
    EXPECT_EQ(2.5, ReadArgument(7, [] { return StrictDoubleArgument("2.5"); }));
}

} // namespace
