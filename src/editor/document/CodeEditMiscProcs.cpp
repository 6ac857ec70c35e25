#include "editor/document/CodeEditMiscProcs.h"

#include "platform/core/Exceptions.h"

#include <cmath>

int Max(int a, int b) { return a > b ? a : b; }
int Min(int a, int b) { return a < b ? a : b; }

int Clamp(int x, int lo, int hi)
{
    if (x < lo) {
        return lo;
    }
    return x > hi ? hi : x;
}

int MulDiv(int a, int b, int c)
{
    if (c == 0) {
        return 0;
    }
    return static_cast<int>(std::lround(double(a) * double(b) / double(c)));
}

void SwapInts(int& a, int& b)
{
    const int t = a;
    a = b;
    b = t;
}

TTextPoint LaterPoint(TTextPoint a, TTextPoint b)
{
    if (b.y > a.y || (b.y == a.y && b.x > a.x)) {
        return b;
    }
    return a;
}

TTextPoint EarlierPoint(TTextPoint a, TTextPoint b)
{
    if (b.y < a.y || (b.y == a.y && b.x < a.x)) {
        return b;
    }
    return a;
}

bool FindFirstTab(QStringView text, int& count)
{
    const qsizetype at = text.indexOf(QLatin1Char('\t'));
    count = static_cast<int>(at < 0 ? text.size() : at);
    return at >= 0;
}

namespace {

// The column after a tab that starts at column p (0-based).
struct Pow2Step {
    static qint64 Next(qint64 p, int width) { return (p + width) & ~qint64(width - 1); }
};
struct GeneralStep {
    static qint64 Next(qint64 p, int width) { return p + width - (p % width); }
};

// Beyond this an expanded line could not be held in a string at all.
constexpr qint64 kMaxExpandedLength = 1 << 30;

// Measures, then fills a string allocated once at its final length.
template <class Step>
QString Expand(const QString& text, int width, bool& hasTabs)
{
    int first = 0;
    hasTabs = FindFirstTab(text, first);
    if (!hasTabs) {
        return text;
    }
    const QChar* src = text.constData();
    const int n = static_cast<int>(text.size());
    qint64 p = first;
    for (int i = first; i < n; ++i) {
        p = src[i] == QLatin1Char('\t') ? Step::Next(p, width) : p + 1;
        if (p > kMaxExpandedLength) {
            throw Exception("Line too long to expand its tabs");
        }
    }
    QString result(static_cast<qsizetype>(p), Qt::Uninitialized);
    QChar* dst = result.data();
    for (int i = 0; i < first; ++i) {
        dst[i] = src[i];
    }
    qint64 col = first;
    for (int i = first; i < n; ++i) {
        if (src[i] == QLatin1Char('\t')) {
            const qint64 next = Step::Next(col, width);
            while (col < next) {
                dst[col++] = QLatin1Char('\t');
            }
        } else {
            dst[col++] = src[i];
        }
    }
    return result;
}

} // namespace

QString TabExpand1WithFlag(const QString& text, int, bool& hasTabs)
{
    int first = 0;
    hasTabs = FindFirstTab(text, first);
    if (!hasTabs) {
        return text;
    }
    QString result = text;
    result.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return result;
}

QString TabExpand1(const QString& text, int tabWidth)
{
    bool hasTabs = false;
    return TabExpand1WithFlag(text, tabWidth, hasTabs);
}

QString TabExpandPow2WithFlag(const QString& text, int tabWidth, bool& hasTabs)
{
    return Expand<Pow2Step>(text, tabWidth, hasTabs);
}

QString TabExpandPow2(const QString& text, int tabWidth)
{
    bool hasTabs = false;
    return Expand<Pow2Step>(text, tabWidth, hasTabs);
}

QString TabExpandGeneralWithFlag(const QString& text, int tabWidth, bool& hasTabs)
{
    return Expand<GeneralStep>(text, tabWidth, hasTabs);
}

QString TabExpandGeneral(const QString& text, int tabWidth)
{
    bool hasTabs = false;
    return Expand<GeneralStep>(text, tabWidth, hasTabs);
}

bool IsPowerOfTwo(int value)
{
    return value >= 2 && value <= 65536 && (value & (value - 1)) == 0;
}

TTabExpander SelectTabExpander(int tabWidth)
{
    if (tabWidth < 2) {
        return &TabExpand1;
    }
    return IsPowerOfTwo(tabWidth) ? &TabExpandPow2 : &TabExpandGeneral;
}

TTabExpanderWithFlag SelectTabExpanderWithFlag(int tabWidth)
{
    if (tabWidth < 2) {
        return &TabExpand1WithFlag;
    }
    return IsPowerOfTwo(tabWidth) ? &TabExpandPow2WithFlag : &TabExpandGeneralWithFlag;
}

bool IsTrailPosition(QStringView text, int pos)
{
    return pos >= 2 && pos <= text.size() && text[pos - 1].isLowSurrogate() &&
           text[pos - 2].isHighSurrogate();
}

namespace {
bool IsLeadPosition(QStringView text, int pos)
{
    return pos >= 1 && pos < text.size() && text[pos - 1].isHighSurrogate() && text[pos].isLowSurrogate();
}
} // namespace

int ScanForCharInSet(QStringView text, int start, const TCharPredicate& inSet)
{
    const int n = static_cast<int>(text.size());
    if (start < 1 || start > n) {
        return 0;
    }
    for (int pos = IsTrailPosition(text, start) ? start + 1 : start; pos <= n; ++pos) {
        if (IsTrailPosition(text, pos)) {
            continue;
        }
        if (inSet(text[pos - 1])) {
            return pos;
        }
    }
    return 0;
}

int ReverseScanForCharInSet(QStringView text, int start, const TCharPredicate& inSet)
{
    if (start < 1 || start > text.size()) {
        return 0;
    }
    for (int pos = start; pos >= 1; --pos) {
        if (!IsTrailPosition(text, pos) && inSet(text[pos - 1])) {
            return pos;
        }
    }
    return 0;
}

int ScanForLeadByte(QStringView text, int start)
{
    const int n = static_cast<int>(text.size());
    if (start < 1 || start > n) {
        return 0;
    }
    for (int pos = IsTrailPosition(text, start) ? start + 1 : start; pos <= n; ++pos) {
        if (IsLeadPosition(text, pos)) {
            return pos;
        }
    }
    return 0;
}

int ReverseScanForLeadByte(QStringView text, int start)
{
    if (start < 1 || start > text.size()) {
        return 0;
    }
    for (int pos = start; pos >= 1; --pos) {
        if (IsLeadPosition(text, pos)) {
            return pos;
        }
    }
    return 0;
}

int FindLineEnd(QStringView text)
{
    const int n = static_cast<int>(text.size());
    for (int i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == 0 || c == u'\n' || c == u'\r') {
            return i;
        }
    }
    return n;
}

void FillRectOpaque(TCanvas& canvas, const TRect& rect) { canvas.FillRect(rect, canvas.BackgroundColor()); }
