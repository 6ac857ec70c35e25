#pragma once
// The variables list: each "name=value" line of the evaluator's variables is shown as
// the row "&name = value", or as several rows when its text holds CR LF (the list is
// the variables' text split at CR LF). Only the row's first "=" is widened: a value is
// shown as it is. TVariablesListView keeps such a list up to date after every program
// line by the variables' change record, so a line costs what the lines it changed
// cost, not what all of them do.

#include "engine/calcul/CalculVariables.h"
#include "platform/core/objects/IndexedSequence.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// "&" and the row text with its first "=" (between name and value) widened to " = ",
// uncut; a value's own "=" stay as they are.
std::string VariablesListEntry(std::string_view rowText);

// The entries of a whole variables text: one per line, split at CR LF, LF or CR.
std::vector<std::string> VariablesListEntries(std::string_view variablesText);

// The texts of the rows one variables line gives: the line split at CR LF.
void VariablesRowTexts(std::string_view line, std::vector<std::string_view>& texts);

// The rows of a list showing the variables. The texts handed over are the row texts of
// VariablesRowTexts; the list makes its entry of each.
class IVariablesRows {
public:
    virtual ~IVariablesRows() = default;
    virtual int RowCount() const = 0;
    virtual void ClearRows() = 0;
    virtual void InsertRow(int row, std::string_view text) = 0;
    virtual void SetRow(int row, std::string_view text) = 0;
    virtual void DeleteRow(int row) = 0;
};

class TVariablesListView {
public:
    // Brings `rows` up to `variables`: the rows of the lines changed since the last
    // call when the change record reaches back so far, else all of them afresh (also
    // for another list, or rows changed behind the view's back).
    void Show(const TCalculVariables& variables, IVariablesRows& rows);

    // The whole entry (VariablesListEntry) of row `row` as the rows show `variables`;
    // none when the rows do not show them as they are now or there is no such row.
    std::optional<std::string> RowEntry(const TCalculVariables& variables, int row) const;

private:
    // The lines shown, in order, each weighing its row count, so the first row of a line
    // costs the same however many lines stand before it; a line waiting to be written
    // during a replay is marked.
    using TShownLines = TIndexedSequence<bool>;
    using TShownLine = TShownLines::TNode;

    void Rebuild(const TCalculVariables& variables, IVariablesRows& rows);
    // Replays the record on the rows; false when it does not fit what is shown.
    bool Replay(const TCalculVariables& variables, IVariablesRows& rows);
    // Gives line `index` the rows of its text now.
    void WriteLine(const TCalculVariables& variables, int index, TShownLine* shown, IVariablesRows& rows);

    bool FShown = false;
    std::uint64_t FIdentity = 0;
    std::uint64_t FChangeCount = 0;
    TShownLines FLines;
    // Scratch of a call.
    std::vector<TVariablesChange> FChanges;
    std::vector<TShownLine*> FDirty;
    std::vector<std::pair<int, TShownLine*>> FWrites;
    std::vector<std::string_view> FTexts;
};
