#include "engine/VariablesView.h"

#include <algorithm>

std::string VariablesListEntry(std::string_view rowText)
{
    std::string entry;
    entry.reserve(rowText.size() + 3);
    entry += '&';
    const std::size_t separator = rowText.find('=');
    if (separator == std::string_view::npos) {
        entry += rowText;
        return entry;
    }
    entry += rowText.substr(0, separator);
    entry += " = ";
    entry += rowText.substr(separator + 1);
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

std::optional<std::string> TVariablesListView::RowEntry(const TCalculVariables& variables, int row) const
{
    if (!FShown || variables.Identity() != FIdentity || variables.ChangeCount() != FChangeCount || row < 0 ||
        row >= FLines.TotalWeight() || FLines.Count() != variables.Count()) {
        return std::nullopt;
    }
    // The line whose rows hold `row`: the last one with fewer rows before it.
    int first = 0;
    int last = FLines.Count() - 1;
    while (first < last) {
        const int middle = first + (last - first + 1) / 2;
        if (FLines.WeightBefore(middle) <= row) {
            first = middle;
        } else {
            last = middle - 1;
        }
    }
    std::vector<std::string_view> texts;
    VariablesRowTexts(variables.Strings(first), texts);
    const auto within = static_cast<std::size_t>(row - FLines.WeightBefore(first));
    if (within >= texts.size()) {
        return std::nullopt;
    }
    return VariablesListEntry(texts[within]);
}

void TVariablesListView::Show(const TCalculVariables& variables, IVariablesRows& rows)
{
    const bool same = FShown && variables.Identity() == FIdentity && rows.RowCount() == FLines.TotalWeight();
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
    FLines.Clear();
    FDirty.clear();
    int row = 0;
    for (int i = 0; i < variables.Count(); ++i) {
        VariablesRowTexts(variables.Strings(i), FTexts);
        for (std::string_view text : FTexts) {
            rows.InsertRow(row++, text);
        }
        FLines.Insert(i, false, static_cast<std::int64_t>(FTexts.size()));
    }
}

bool TVariablesListView::Replay(const TCalculVariables& variables, IVariablesRows& rows)
{
    // First the rows of deleted lines go and inserted lines come in without rows; the
    // lines set or inserted are written last from their texts now (a line's text at the
    // time of its change is gone), in line order, so that the lines before a written
    // one hold their final rows.
    FDirty.clear();
    for (const TVariablesChange& change : FChanges) {
        const int index = change.Index;
        const int last = change.Kind == TVariablesChange::Insert ? FLines.Count() : FLines.Count() - 1;
        if (index < 0 || index > last) {
            return false;
        }
        switch (change.Kind) {
        case TVariablesChange::Insert:
            FDirty.push_back(FLines.Insert(index, true, 0));
            break;
        case TVariablesChange::Delete: {
            TShownLine* shown = FLines.At(index);
            const int first = static_cast<int>(FLines.WeightBefore(index));
            for (std::int64_t k = shown->Weight(); k > 0; --k) {
                rows.DeleteRow(first);
            }
            if (shown->Value) {
                std::erase(FDirty, shown);
            }
            FLines.Erase(shown);
            break;
        }
        case TVariablesChange::Set: {
            TShownLine* shown = FLines.At(index);
            if (!shown->Value) {
                shown->Value = true;
                FDirty.push_back(shown);
            }
            break;
        }
        }
    }
    if (FLines.Count() != variables.Count()) {
        return false;
    }
    FWrites.clear();
    for (TShownLine* shown : FDirty) {
        FWrites.emplace_back(FLines.IndexOf(shown), shown);
    }
    std::sort(FWrites.begin(), FWrites.end());
    for (const auto& [index, shown] : FWrites) {
        shown->Value = false;
        WriteLine(variables, index, shown, rows);
    }
    return true;
}

void TVariablesListView::WriteLine(const TCalculVariables& variables, int index, TShownLine* shown,
                                   IVariablesRows& rows)
{
    VariablesRowTexts(variables.Strings(index), FTexts);
    const int first = static_cast<int>(FLines.WeightBefore(index));
    const int before = static_cast<int>(shown->Weight());
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
    FLines.SetWeight(shown, after);
}
