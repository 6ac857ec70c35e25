#pragma once
// Small types and routines the print engine, its margins and its header and footer
// share: the unit system of the margins, the print events, Roman page numbers and the
// search for the positions where a long line breaks into rows.

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

class TObject;

enum TUnitSystem : std::uint8_t { usMM, usCM, usInch, muThousandthsOfInches };

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

enum TCodePrintStatus : std::uint8_t { psBegin, psNewPage, psEnd };

using TPrintStatusEvent = std::function<void(TObject* sender, TCodePrintStatus status, int pageNumber, bool& abort)>;
using TPrintLineEvent = std::function<void(TObject* sender, int lineNumber, int pageNumber)>;

// A date-time number (days since 30 December 1899, the fraction the time of day) as a
// local date and time, to the millisecond.
QDateTime DateTimeFromNumber(double dateTime);

// The text as the canvas takes it.
inline std::u16string_view Utf16View(QStringView text)
{
    return {text.utf16(), static_cast<std::size_t>(text.size())};
}

// Roman numeral in capitals; empty for 0 and below.
QString IntToRoman(int value);

// The characters a row may end after: the first choice, then the fallback.
inline constexpr char16_t PrintBreakChars[] = u" \t,-";
inline constexpr char16_t PrintFallbackBreakChars[] = u").;";

// Row ends of a line: each entry is the 1-based position of the last character of a
// row; the next row starts after it. Appends to `positions` and answers true when every
// row of at most maxColumns characters ends on one of breakChars (a line no longer than
// maxColumns needs none); answers false and leaves `positions` as it was otherwise.
bool FindWrapPositions(QStringView line, QStringView breakChars, int maxColumns, std::vector<int>& positions);
// Rows cut every maxColumns characters (at least 1): maxColumns, 2 × maxColumns, ...
// until the rest is at most maxColumns long. A cut never parts a surrogate pair: it
// then falls one earlier, and the next row starts with the pair.
void CutPositions(QStringView line, int maxColumns, std::vector<int>& positions);
// The break set first, then the fallback set, then cuts.
void FindRowEnds(QStringView line, int maxColumns, std::vector<int>& positions);
