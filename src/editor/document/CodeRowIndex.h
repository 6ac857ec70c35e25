#pragma once
// Which logical line a row of a soft-wrapped buffer shows, without counting rows from the
// top on every paint: the count of head rows (rows that start a logical line) before
// every block of rows, summed up on demand and kept until a change at or before the
// block. A query costs at most one block of rows once the blocks before it hold.
//
// The buffer tells the rows its changes start at (insertions, deletions, puts), but a
// wrap or rewrap inserts and removes pieces without telling. So the control reports
// every change that names a row with Changed, which forgets from the head of that row's
// line (the rewrap that follows an edit changes only rows after that head), and the end
// of each buffer update with UpdateEnded: an update that named no row forgets it all.

#include <vector>

class TCodeEditStringList;

class TCodeRowIndex {
public:
    // Head rows among rows 0..row-1 (0-based rows; row is clamped to 0..Count).
    int HeadsBefore(const TCodeEditStringList& lines, int row);
    // The rows from `row` on changed, told as the buffer's event names it.
    void Changed(const TCodeEditStringList& lines, int row);
    // A buffer update ended.
    void UpdateEnded();

    static constexpr int BlockRows = 256;

private:
    void Forget(int row);

    // heads_[b]: head rows among rows 0..b * BlockRows - 1; the first `valid_` hold.
    std::vector<int> heads_;
    int valid_ = 0;
    bool rowNamed_ = false; // a change of the running update named its row
};
