#include "engine/VariablesView.h"

#include <algorithm>
#include <numeric>

std::string VariablesListEntry(std::string_view rowText)
{
    std::string entry;
    entry.reserve(rowText.size() + 3);
    entry += '&';
    for (char c : rowText) {
        if (c == '=') {
            entry += " = ";
        } else {
            entry += c;
        }
    }
    return entry;
}

std::vector<std::string> VariablesListEntries(std::string_view variablesText)
{
    std::vector<std::string> entries;
    std::size_t from = 0;
    while (from < variablesText.size()) {
        std::size_t end = variablesText.find_first_of("\r\n", from);
        if (end == std::string_view::npos) {
            end = variablesText.size();
        }
        entries.push_back(VariablesListEntry(variablesText.substr(from, end - from)));
        from = end;
        if (from < variablesText.size() && variablesText[from] == '\r') {
            ++from;
        }
        if (from < variablesText.size() && variablesText[from] == '\n') {
            ++from;
        }
    }
    return entries;
}

void VariablesRowTexts(std::string_view line, std::vector<std::string_view>& texts)
{
    texts.clear();
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = line.find("\r\n", from);
        if (end == std::string_view::npos) {
            texts.push_back(line.substr(from));
            return;
        }
        texts.push_back(line.substr(from, end - from));
        from = end + 2;
    }
}

void TVariablesListView::Show(const TCalculVariables& variables, IVariablesRows& rows)
{
    const bool same = FShown && variables.Identity() == FIdentity && rows.RowCount() == FRowTotal;
    if (same && variables.ChangeCount() == FChangeCount) {
        return;
    }
    if (!same || !variables.ChangesSince(FChangeCount, FChanges) || !Replay(variables, rows)) {
        Rebuild(variables, rows);
    }
    FShown = true;
    FIdentity = variables.Identity();
    FChangeCount = variables.ChangeCount();
}

void TVariablesListView::Rebuild(const TCalculVariables& variables, IVariablesRows& rows)
{
    rows.ClearRows();
    FRowCounts.clear();
    FRowTotal = 0;
    FIrregular = 0;
    for (int i = 0; i < variables.Count(); ++i) {
        const std::string& line = variables.Strings(i);
        VariablesRowTexts(line, FTexts);
        for (std::string_view text : FTexts) {
            rows.InsertRow(FRowTotal++, text);
        }
        FRowCounts.push_back(static_cast<int>(FTexts.size()));
        FIrregular += FTexts.size() != 1 ? 1 : 0;
    }
}

bool TVariablesListView::Replay(const TCalculVariables& variables, IVariablesRows& rows)
{
    // First the rows of deleted lines go and inserted lines come in without rows; the
    // lines set or inserted, at their indexes after all the changes, are written last
    // from their texts now (a line's text at the time of its change is gone).
    FDirty.clear();
    for (const TVariablesChange& change : FChanges) {
        const int index = change.Index;
        switch (change.Kind) {
        case TVariablesChange::Insert:
            if (index < 0 || index > static_cast<int>(FRowCounts.size())) {
                return false;
            }
            FRowCounts.insert(FRowCounts.begin() + index, 0);
            ++FIrregular;
            for (int& dirty : FDirty) {
                dirty += dirty >= index ? 1 : 0;
            }
            FDirty.push_back(index);
            break;
        case TVariablesChange::Delete: {
            if (index < 0 || index >= static_cast<int>(FRowCounts.size())) {
                return false;
            }
            const int first = FirstRow(index);
            for (int k = FRowCounts[static_cast<std::size_t>(index)]; k > 0; --k) {
                rows.DeleteRow(first);
            }
            SetRowCount(index, 0);
            FRowCounts.erase(FRowCounts.begin() + index);
            --FIrregular; // a line of no rows
            std::erase(FDirty, index);
            for (int& dirty : FDirty) {
                dirty -= dirty > index ? 1 : 0;
            }
            break;
        }
        case TVariablesChange::Set:
            if (index < 0 || index >= static_cast<int>(FRowCounts.size())) {
                return false;
            }
            if (std::find(FDirty.begin(), FDirty.end(), index) == FDirty.end()) {
                FDirty.push_back(index);
            }
            break;
        }
    }
    if (static_cast<int>(FRowCounts.size()) != variables.Count()) {
        return false;
    }
    // In line order: the lines before a written one have their final rows.
    std::sort(FDirty.begin(), FDirty.end());
    for (int index : FDirty) {
        WriteLine(variables, index, rows);
    }
    return true;
}

int TVariablesListView::FirstRow(int index) const
{
    if (FIrregular == 0) {
        return index;
    }
    return std::accumulate(FRowCounts.begin(), FRowCounts.begin() + index, 0);
}

void TVariablesListView::SetRowCount(int index, int count)
{
    int& rowCount = FRowCounts[static_cast<std::size_t>(index)];
    FIrregular += (count != 1 ? 1 : 0) - (rowCount != 1 ? 1 : 0);
    FRowTotal += count - rowCount;
    rowCount = count;
}

void TVariablesListView::WriteLine(const TCalculVariables& variables, int index, IVariablesRows& rows)
{
    const std::string& line = variables.Strings(index);
    VariablesRowTexts(line, FTexts);
    const int first = FirstRow(index);
    const int before = FRowCounts[static_cast<std::size_t>(index)];
    const int after = static_cast<int>(FTexts.size());
    for (int k = 0; k < after; ++k) {
        if (k < before) {
            rows.SetRow(first + k, FTexts[static_cast<std::size_t>(k)]);
        } else {
            rows.InsertRow(first + k, FTexts[static_cast<std::size_t>(k)]);
        }
    }
    for (int k = after; k < before; ++k) {
        rows.DeleteRow(first + after);
    }
    SetRowCount(index, after);
}
