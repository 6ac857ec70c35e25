#pragma once
// The highlighter state at the start of every line, kept in the text buffer (-1 for a
// line not scanned yet). The editor control calls these when its highlighter or its
// text changes. A highlighter whose ranges all end with their line (RangesEndWithLine)
// is not asked to scan: the states, and the lines reported scanned, are those a scan
// would give.

class TCodeEditStringList;
class TCodeCustomHighlighter;

// From the first line with the highlighter's start state: stores each line's state and
// scans the line.
void RescanAllRanges(TCodeEditStringList& lines, TCodeCustomHighlighter& highlighter);

// After line `index` changed: scans it from its stored state, then each following line
// whose stored state differs from the state the scan reached, storing the new state,
// until one matches. Returns the last line scanned (`index` itself when it is the last
// line, which is not scanned: no line follows to take its state).
int ScanFrom(TCodeEditStringList& lines, TCodeCustomHighlighter& highlighter, int index);

// After lines first..last changed: scans them all from the state stored for `first`,
// then goes on like ScanFrom until a following line's stored state matches. Returns the
// last line scanned.
int ScanChangedLines(TCodeEditStringList& lines, TCodeCustomHighlighter& highlighter, int first, int last);
