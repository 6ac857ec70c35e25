#include "editor/document/CodeRowIndex.h"

#include "editor/document/CodeEditStringList.h"

#include <algorithm>

namespace {

int HeadsIn(const TCodeEditStringList& lines, int first, int end)
{
    int heads = 0;
    for (int i = first; i < end; ++i) {
        heads += lines.IsContinuationLine(i) ? 0 : 1;
    }
    return heads;
}

} // namespace

int TCodeRowIndex::HeadsBefore(const TCodeEditStringList& lines, int row)
{
    row = std::clamp(row, 0, lines.Count());
    const int block = row / BlockRows;
    if (valid_ == 0) {
        heads_.assign(1, 0);
        valid_ = 1;
    }
    if (static_cast<int>(heads_.size()) <= block) {
        heads_.resize(static_cast<std::size_t>(block) + 1);
    }
    for (; valid_ <= block; ++valid_) {
        const int first = (valid_ - 1) * BlockRows;
        heads_[static_cast<std::size_t>(valid_)] =
            heads_[static_cast<std::size_t>(valid_ - 1)] + HeadsIn(lines, first, first + BlockRows);
    }
    return heads_[static_cast<std::size_t>(block)] + HeadsIn(lines, block * BlockRows, row);
}

void TCodeRowIndex::Forget(int row)
{
    // Block b counts rows before b * BlockRows, so the blocks up to row / BlockRows hold.
    valid_ = std::min(valid_, std::max(row, 0) / BlockRows + 1);
}

void TCodeRowIndex::Changed(const TCodeEditStringList& lines, int row)
{
    // The head as it stands now, before a rewrap of its line moves the pieces after it.
    int head = std::min(row, lines.Count() - 1);
    while (head > 0 && lines.IsContinuationLine(head)) {
        --head;
    }
    Forget(head);
    rowNamed_ = true;
}

void TCodeRowIndex::UpdateEnded()
{
    if (!rowNamed_) {
        valid_ = 0;
    }
    rowNamed_ = false;
}
