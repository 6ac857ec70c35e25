#include "editor/CodeLineStates.h"

#include "editor/CodeCustomHighlighter.h"
#include "editor/CodeEditStringList.h"

void RescanAllRanges(TCodeEditStringList& lines, TCodeCustomHighlighter& highlighter)
{
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
