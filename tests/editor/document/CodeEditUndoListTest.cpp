#include "editor/document/CodeEditUndoList.h"
#include "../QtPrinters.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {

struct TAddedCounter {
    int count = 0;
    TObject* sender = nullptr;
    void Added(TObject* s)
    {
        ++count;
        sender = s;
    }
};

void Add(TCodeEditUndoList& list, std::uint8_t reason = 0, const QString& text = "x")
{
    list.AddChange(reason, {1, 1}, {2, 1}, text, smNormal);
}

std::vector<int> Numbers(const TCodeEditUndoList& list)
{
    std::vector<int> numbers;
    for (int i = 0; i < list.ItemCount(); ++i) {
        numbers.push_back(list.Item(i).ChangeNumber);
    }
    return numbers;
}

TEST(CodeEditUndoList, ChangeNumbersForLooseRecordsAndBlocks)
{
    TCodeEditUndoList list;
    Add(list);
    Add(list);
    Add(list);
    list.BeginBlock();
    Add(list);
    Add(list);
    list.EndBlock();
    Add(list);
    EXPECT_EQ(Numbers(list), (std::vector<int>{1, 2, 3, 4, 4, 5}));
    TCodeEditUndoList empty; // an empty block still uses up a number
    empty.BeginBlock();
    empty.EndBlock();
    Add(empty);
    EXPECT_EQ(Numbers(empty), std::vector<int>{2});
}

TEST(CodeEditUndoList, NestedBlocksShareTheOuterNumberAndAdvanceOnce)
{
    TCodeEditUndoList list;
    list.BeginBlock();
    Add(list);
    list.BeginBlock();
    Add(list);
    list.EndBlock();
    EXPECT_EQ(list.BlockChangeNumber(), 1) << "the outer block is still open";
    Add(list);
    list.EndBlock();
    list.EndBlock(); // unbalanced: ignored
    Add(list);
    EXPECT_EQ(Numbers(list), (std::vector<int>{1, 1, 1, 2}));
    EXPECT_EQ(list.BlockChangeNumber(), 0);
}

TEST(CodeEditUndoList, LimitDropsOldestAndSetsFullUndoImpossible)
{
    TCodeEditUndoList list;
    list.SetMaxUndoActions(3);
    for (const char* text : {"a", "b", "c"}) {
        Add(list, 0, text);
    }
    EXPECT_FALSE(list.FullUndoImpossible());
    Add(list, 0, "d");
    ASSERT_EQ(list.ItemCount(), 3);
    EXPECT_EQ(list.Item(0).ChangeStr, "b");
    EXPECT_EQ(list.PeekItem()->ChangeStr, "d");
    EXPECT_TRUE(list.FullUndoImpossible());
    list.Clear();
    EXPECT_FALSE(list.FullUndoImpossible());
    EXPECT_FALSE(list.CanUndo());
}

// Changes of so many records each, oldest first; a change of several records is a block.
void AddChanges(TCodeEditUndoList& list, std::initializer_list<int> sizes)
{
    for (const int size : sizes) {
        list.BeginBlock();
        for (int i = 0; i < size; ++i) {
            Add(list);
        }
        list.EndBlock();
    }
}

TEST(CodeEditUndoList, LimitDropsWholeChangesAndKeepsTheNewestWhole)
{
    struct Case {
        const char* name;
        int limit;
        std::initializer_list<int> sizes;
        std::vector<int> kept; // change numbers left, oldest first
        bool dropped;
    } cases[] = {
        {"within the limit", 4, {1, 3}, {1, 2, 2, 2}, false},
        {"the oldest change goes whole", 4, {2, 3}, {2, 2, 2}, true},
        {"only as many as needed go", 4, {1, 3, 1}, {2, 2, 2, 3}, true},
        {"a replacement's own pair stays together", 3, {2, 2}, {2, 2}, true},
        {"the newest change alone passes the limit", 3, {1, 5}, {2, 2, 2, 2, 2}, true},
        {"a long change goes whole for a later one", 3, {5, 1}, {2}, true},
        {"a limit of 1 keeps the newest change", 1, {1, 2}, {2, 2}, true},
    };
    for (const Case& c : cases) {
        TCodeEditUndoList list;
        list.SetMaxUndoActions(c.limit);
        AddChanges(list, c.sizes);
        EXPECT_EQ(Numbers(list), c.kept) << c.name;
        EXPECT_EQ(list.FullUndoImpossible(), c.dropped) << c.name;
    }
    TCodeEditUndoList list; // the break that closes a long change does not replace it
    list.SetMaxUndoActions(3);
    AddChanges(list, {1, 4});
    list.AddGroupBreak();
    EXPECT_EQ(Numbers(list), (std::vector<int>{2, 2, 2, 2, 3}));
    AddChanges(list, {1});
    EXPECT_EQ(Numbers(list), (std::vector<int>{3, 4})) << "then the long change goes whole";
}

TEST(CodeEditUndoList, LoweringTheLimitDropsWholeChanges)
{
    struct Case {
        int limit;
        std::vector<int> kept;
    } cases[] = {{5, {1, 2, 2, 2, 3}}, {4, {2, 2, 2, 3}}, {3, {3}}, {1, {3}}, {0, {}}};
    for (const Case& c : cases) {
        TCodeEditUndoList list;
        AddChanges(list, {1, 3, 1});
        list.SetMaxUndoActions(c.limit);
        EXPECT_EQ(Numbers(list), c.kept) << c.limit;
    }
    TCodeEditUndoList one;
    AddChanges(one, {4});
    one.SetMaxUndoActions(2);
    EXPECT_EQ(one.ItemCount(), 4) << "the newest change stays whole";
    EXPECT_FALSE(one.FullUndoImpossible());
}

TEST(CodeEditUndoList, MaxUndoIsNeverNegativeAndTrimsAtOnce)
{
    struct Case {
        int set;
        int stored;
        int remaining;
    } cases[] = {{-5, 0, 0}, {0, 0, 0}, {2, 2, 2}, {10, 10, 4}};
    for (const Case& c : cases) {
        TCodeEditUndoList list;
        for (int i = 0; i < 4; ++i) {
            Add(list);
        }
        list.SetMaxUndoActions(c.set);
        EXPECT_EQ(list.MaxUndo(), c.stored) << c.set;
        EXPECT_EQ(list.ItemCount(), c.remaining) << c.set;
        EXPECT_EQ(list.FullUndoImpossible(), c.remaining < 4) << c.set;
    }
}

TEST(CodeEditUndoList, LockedListRecordsAndFiresNothing)
{
    TCodeEditUndoList list;
    TAddedCounter counter;
    list.OnAddedUndo = MakeDelegate<&TAddedCounter::Added>(&counter);
    list.Lock();
    list.Lock();
    Add(list);
    list.Unlock();
    Add(list);
    EXPECT_EQ(list.ItemCount(), 0);
    EXPECT_EQ(counter.count, 0);
    list.Unlock();
    list.Unlock(); // below zero is ignored
    Add(list);
    EXPECT_EQ(list.ItemCount(), 1);
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(counter.sender, &list);
    EXPECT_EQ(Numbers(list), std::vector<int>{1}) << "locked calls take no number";
}

TEST(CodeEditUndoList, GroupBreaks)
{
    TCodeEditUndoList list;
    TAddedCounter counter;
    list.OnAddedUndo = MakeDelegate<&TAddedCounter::Added>(&counter);
    list.AddGroupBreak();
    EXPECT_EQ(list.ItemCount(), 0) << "no break on an empty list";
    EXPECT_EQ(list.GetLastChangeReason(), crNothing);
    Add(list, 4);
    list.AddGroupBreak();
    list.AddGroupBreak();
    ASSERT_EQ(list.ItemCount(), 2);
    const TCodeEditUndoItem* brk = list.PeekItem();
    EXPECT_EQ(brk->ChangeReason, crGroupBreak);
    EXPECT_EQ(brk->ChangeStartPos, (TTextPoint{0, 0}));
    EXPECT_EQ(brk->ChangeEndPos, (TTextPoint{0, 0}));
    EXPECT_EQ(brk->ChangeStr, QString());
    EXPECT_EQ(brk->ChangeNumber, 2) << "a break takes a number like any record";
    EXPECT_EQ(counter.count, 1) << "a group break does not fire";
    EXPECT_EQ(list.GetLastChangeReason(), crGroupBreak);
}

TEST(CodeEditUndoList, PopAndPushMoveRecordsBetweenLists)
{
    TCodeEditUndoList undo, redo;
    EXPECT_EQ(undo.PopItem(), nullptr);
    EXPECT_EQ(undo.PeekItem(), nullptr);
    undo.AddChange(8, {3, 2}, {5, 2}, "ab", smColumn);
    auto item = undo.PopItem();
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(undo.CanUndo());
    TCodeEditUndoItem* raw = item.get();
    redo.PushItem(std::move(item));
    redo.PushItem(nullptr);
    ASSERT_EQ(redo.ItemCount(), 1);
    EXPECT_EQ(redo.PeekItem(), raw);
    EXPECT_EQ(raw->ChangeSelMode, smColumn);
    EXPECT_EQ(raw->ChangeStartPos, (TTextPoint{3, 2}));
    EXPECT_EQ(redo.GetLastChangeReason(), 8);
}

TEST(CodeEditUndoList, AssignCopiesRecordsAndCounters)
{
    TCodeEditUndoList source;
    source.SetMaxUndoActions(50);
    Add(source, 1, "one");
    source.BeginBlock();
    Add(source, 2, "two");
    source.Lock();
    TCodeEditUndoList copy;
    Add(copy, 9, "old");
    copy.Assign(&source);
    ASSERT_EQ(copy.ItemCount(), 2);
    EXPECT_NE(&copy.Item(0), &source.Item(0)) << "records are copies";
    EXPECT_EQ(copy.Item(1).ChangeStr, "two");
    EXPECT_EQ(copy.Item(1).ChangeNumber, 2);
    EXPECT_EQ(copy.MaxUndo(), 50);
    EXPECT_EQ(copy.BlockChangeNumber(), 2);
    EXPECT_TRUE(copy.IsLocked());
    EXPECT_EQ(copy.NextChangeNumber(), source.NextChangeNumber());

    TCodeEditUndoItem item;
    EXPECT_THROW(item.Assign(&source), EConvertError);
}

} // namespace
