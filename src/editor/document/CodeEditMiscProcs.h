#pragma once
// Free routines shared by the editor, its text buffer and its option classes: integer
// and text-position helpers, tab detection and expansion, and character scans that
// never stop inside a surrogate pair. See TEXT_MODEL.md for what a position means.

#include "platform/core/graphics/Canvas.h"

#include <QString>
#include <QStringView>

#include <functional>

int Max(int a, int b);
int Min(int a, int b);
// lo when x < lo, else hi when x > hi, else x.
int Clamp(int x, int lo, int hi);
void SwapInts(int& a, int& b);
// a × b ÷ c computed in double and rounded to the nearest integer, halves away from
// zero; 0 for c = 0.
int MulDiv(int a, int b, int c);

// A text position: column x and line y, both 1-based in the editor's commands.
struct TTextPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TTextPoint&) const = default;
};

// Compared by line, then by column; on equality the first argument.
TTextPoint LaterPoint(TTextPoint a, TTextPoint b);
TTextPoint EarlierPoint(TTextPoint a, TTextPoint b);

// True when the text holds a tab; count receives the number of characters before the
// first tab (the whole length when there is none).
bool FindFirstTab(QStringView text, int& count);

// Tab expansion. The expanded text keeps tab characters as its fill, one per column a
// tab covers, so that columns in the expanded text equal screen columns; only width 1
// turns a tab into a blank. A text without tabs comes back as the same (shared) string.
using TTabExpander = QString (*)(const QString& text, int tabWidth);
using TTabExpanderWithFlag = QString (*)(const QString& text, int tabWidth, bool& hasTabs);

QString TabExpand1(const QString& text, int tabWidth);
QString TabExpand1WithFlag(const QString& text, int tabWidth, bool& hasTabs);
QString TabExpandPow2(const QString& text, int tabWidth);
QString TabExpandPow2WithFlag(const QString& text, int tabWidth, bool& hasTabs);
QString TabExpandGeneral(const QString& text, int tabWidth);
QString TabExpandGeneralWithFlag(const QString& text, int tabWidth, bool& hasTabs);

// True for 2, 4, 8, ... 65536.
bool IsPowerOfTwo(int value);
// Width below 2: the width-1 form; a power of two: the shift-and-mask form; else general.
TTabExpander SelectTabExpander(int tabWidth);
TTabExpanderWithFlag SelectTabExpanderWithFlag(int tabWidth);

// The character classes the scans look for.
using TCharPredicate = std::function<bool(QChar)>;

// Scans with 1-based positions; 0 means "none" and a start outside 1..length gives 0.
// A low surrogate that follows its high surrogate is never tested; a start on one
// moves on by one.
int ScanForCharInSet(QStringView text, int start, const TCharPredicate& inSet);
// The last position at or before start whose character is in the set.
int ReverseScanForCharInSet(QStringView text, int start, const TCharPredicate& inSet);
// The first (last) high surrogate that starts a pair at or after (before) start.
int ScanForLeadByte(QStringView text, int start);
int ReverseScanForLeadByte(QStringView text, int start);
// True for the low half of a surrogate pair at 1-based position pos.
bool IsTrailPosition(QStringView text, int pos);

// Index (0-based) of the first NUL, LF or CR; the length when there is none.
int FindLineEnd(QStringView text);

// Fills the rectangle with the canvas's background colour, as an opaque text output
// of no characters does.
void FillRectOpaque(TCanvas& canvas, const TRect& rect);
