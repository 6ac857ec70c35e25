#pragma once
// The universal highlighter's rules and the main settings file: read once at start-up,
// written by the editor options dialog at every saved change.

class Tdm;
class TCodeRange;
class TIniFile;

// Logs "ReadCodeHigh" and adds the rules of the settings file's "SyntaxHighlight"
// sections to the data module's highlighter, or, when the file has no such section,
// those of DefaultHighlighting.ini beside the executable (none when it is missing too).
// A file whose rules cannot all be read (an empty or binary DefaultHighlighting.ini
// among them) gives an error box naming the fault and an "error" log line; none of its
// rules is taken.
void ReadCodeHigh(Tdm& dm, const TIniFile& settings);

// The root range's groups and ranges into the main settings file, written atomically.
// Raises a file error (EStreamError) naming the file when it cannot be written.
void WriteSyntaxHighlight(const TCodeRange& root);
