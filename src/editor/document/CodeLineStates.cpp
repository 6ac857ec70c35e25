#include "editor/document/CodeLineStates.h"

#include "editor/highlighting/CodeCustomHighlighter.h"
#include "editor/document/CodeEditStringList.h"

namespace {

// Where no range outlives its line, every line starts in the reset state: it is stored
// from line `line` on, through `last` and then until a line already holds it, as a scan
// would store it. Returns the last line that a scan would have scanned.
int StoreResetState(TCodeEditStringList& lines, TCodeCustomHighlighter& highlighter, int line, int last)
{
    highlighter.ResetRange();
    const int state = highlighter.GetRange();
    for (; line < lines.Count(); ++line) {
        if (line > last && state == lines.GetRange(line)) {
            break;
        }
        lines.PutRange(line, state);
    }
    return line - 1;
}

} // namespace

void RescanAllRanges(TCodeEditStringList& lines, TCodeCustomHighlighter& highlighter)
{
    if (highlighter.RangesEndWithLine()) {
        StoreResetState(lines, highlighter, 0, lines.Count() - 1);
        return;
    }
    highlighter.ResetRange();
    for (int i = 0; i < lines.Count(); ++i) {
        lines.PutRange(i, highlighter.GetRange());
        highlighter.SetLine(lines.Record(i).text, i);
        highlighter.NextToEol();
    }
}

int ScanFrom(TCodeEditStringList& lines, TCodeCustomHighlighter& highlighter, int index)
{
    return ScanChangedLines(lines, highlighter, index, index);
}

int ScanChangedLines(TCodeEditStringList& lines, TCodeCustomHighlighter& highlighter, int first, int last)
{
    if (first < 0 || first >= lines.Count() - 1) {
        return first;
    }
    if (highlighter.RangesEndWithLine()) {
        return StoreResetState(lines, highlighter, first + 1, last);
    }
    highlighter.SetRange(lines.GetRange(first));
    highlighter.SetLine(lines.Record(first).text, first);
    highlighter.NextToEol();
    int line = first + 1;
    for (; line < lines.Count(); ++line) {
        const int state = highlighter.GetRange();
        if (line > last && state == lines.GetRange(line)) {
            break;
        }
        lines.PutRange(line, state);
        highlighter.SetLine(lines.Record(line).text, line);
        highlighter.NextToEol();
    }
    return line - 1;
}
