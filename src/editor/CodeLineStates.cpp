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
    if (index < 0 || index >= lines.Count() - 1) {
        return index;
    }
    highlighter.SetRange(lines.GetRange(index));
    highlighter.SetLine(lines.Record(index).text, index);
    highlighter.NextToEol();
    int line = index + 1;
    for (; line < lines.Count(); ++line) {
        const int state = highlighter.GetRange();
        if (state == lines.GetRange(line)) {
            break;
        }
        lines.PutRange(line, state);
        highlighter.SetLine(lines.Record(line).text, line);
        highlighter.NextToEol();
    }
    return line - 1;
}
