#pragma once
// What every results run shares, whoever drives it (the headless runner, the shell's
// test runner and quick view): the clean state it starts from and the path text it
// answers with.

#include <string>

class TMove;
class TCalcul;

// No paths, no zero offsets, the position at 0, no clamps, one part-file level with an
// empty step-back history, no GOSUB returns, no variables; sub-files resolve against
// `fileName`'s folder. The preview's budget counts the path text from here on, so a
// runaway program stops before the preview and its results text pass it together.
void ResetForResults(TMove& move, TCalcul& calcul, const std::string& fileName);

// The jog path text trimmed, then CR LF when it is not empty, then the cut path text;
// after ResetForResults written into room of exactly its size, which the run counted.
std::string ResultsText(const TMove& move);
