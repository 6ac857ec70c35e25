#pragma once
// The evaluator's user variables: an ordered list of "name=value" lines, shown as they
// are in the variables window. Names are matched without regard to ASCII case, and
// the first line of a name wins, like a string list's name lookup. The lines are
// indexed by name, and reading, setting, inserting or deleting a line costs the same
// beside 100,000 variables as beside ten; a copy shares the lines until one of the two
// changes, so the inner calculators of definitions and "eval(" cost nothing to make.
//
// The list counts its changes and records the recent ones (which line was set,
// inserted or deleted, or that the whole list was replaced), so that a window showing
// the variables after every program line redraws only the lines that changed: one
// variable of ten million characters must not make every later line cost as much.

#include "platform/core/objects/IndexedSequence.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct TVariablesChange {
    enum TKind : unsigned char {
        Set,    // line Index got a new text
        Insert, // a line was inserted at Index (Add inserts at the end)
        Delete, // line Index was deleted
    };
    TKind Kind;
    int Index;
    bool operator==(const TVariablesChange&) const = default;
};

class TCalculVariables {
public:
    TCalculVariables();
    // A copy is another list: it starts its own count and record.
    TCalculVariables(const TCalculVariables& other);
    // Replacing the contents counts as one change that replaces the whole list.
    TCalculVariables& operator=(const TCalculVariables& other);
    TCalculVariables& operator=(TCalculVariables&& other) noexcept;

    int Count() const { return FStore->Lines.Count(); }
    bool Empty() const { return FStore->Lines.Empty(); }
    // Index must lie in 0..Count()-1 (raises EListError otherwise).
    const std::string& Strings(int index) const;
    void SetStrings(int index, std::string line);
    const std::string& operator[](int index) const { return Strings(index); }

    int Add(std::string line);
    void Insert(int index, std::string line);
    void Delete(int index);
    // An assignment: deletes line `index` (none when it is -1) and adds `line` at the
    // end, where a program's reassigned variable goes. Step back keeps it as one change.
    int Reassign(int index, std::string line);
    void Clear();

    // Index of the first line whose text before its first "=" equals `name` ignoring
    // case; -1 when there is none.
    int IndexOfName(std::string_view name) const;
    // The first line of that name, nullptr when there is none; valid until the list
    // changes.
    const std::string* LineOfName(std::string_view name) const;
    // The text before the first "=" (the whole line when it has none).
    std::string_view Names(int index) const;
    static std::string_view NameOf(std::string_view line) { return line.substr(0, line.find('=')); }
    // The text after the first "=" (empty when the line has none).
    std::string_view ValueFromIndex(int index) const;
    static std::string_view ValueOf(std::string_view line);
    // The value of the first line named `name`, empty when there is none.
    std::string Values(std::string_view name) const;
    // Replaces the value of the first line named `name`, or adds "name=value".
    void SetValue(std::string_view name, std::string_view value);

    // Every line ended by CR LF.
    std::string Text() const;
    // The length of Text(), kept as the lines change.
    std::size_t TextLength() const { return FStore->TextLength; }
    // Replaces the list by the lines of `text` (split at CR LF, LF or CR; a final line
    // break adds no empty line).
    void SetText(std::string_view text);

    // --- the change record ---
    // Tells lists apart for a viewer that may be shown another one (no two lists alive
    // or gone in this process share a number).
    std::uint64_t Identity() const { return FIdentity; }
    // Every change counts one, a whole replacement (Clear, SetText, assignment) too.
    std::uint64_t ChangeCount() const { return FChangeCount; }
    // The changes made since the count was `since`, oldest first, into `changes`; false
    // when the record no longer reaches back so far or the whole list was replaced
    // since: the viewer then reads the list afresh.
    bool ChangesSince(std::uint64_t since, std::vector<TVariablesChange>& changes) const;
    // How many changes the record keeps before it forgets them all; a viewer that falls
    // further behind reads the list afresh.
    static constexpr std::size_t MaxRecordedChanges = 4096;

    // --- step back ---
    // While an undo tag is set (0 or more: the place of the program line in the run's
    // history), every change keeps what it replaced under that tag, so that UndoFrom
    // can put the list back as it was before the changes of a tag and of every later
    // one. A copy keeps nothing. A kept change costs a few words; the text it replaced
    // is kept in the change when it is short and moved, not copied, when it is long.
    static constexpr std::int64_t NoUndo = -1;
    void SetUndoTag(std::int64_t tag) { FUndoTag = tag; }
    std::int64_t UndoTag() const { return FUndoTag; }
    // Other state that changes with the program's lines (the engine's GOSUB stack,
    // system variables, clamps) keeps its changes here, each as a number and bytes of
    // its own, so that one bound and one reach hold for all. Up to 22 bytes stand in the
    // change itself; more are kept beside it. Kept only while an undo tag is set.
    void KeepUndoValue(std::int32_t value, std::string_view bytes = {});
    // Adds `bytes` to the newest kept change when it is a value kept under the current
    // tag with the number `value` and room for them beside its own bytes (22 in all),
    // so that small changes of one line share a change; false, keeping nothing, when it
    // is not.
    bool JoinUndoValue(std::int32_t value, std::string_view bytes);
    // Where the record stands now; the changes kept so far are closed to JoinUndoValue.
    // A sub-file's first line takes the tag of the FP line that calls it, so what that
    // line kept before the call is told apart by the mark.
    std::uint64_t MarkUndo();
    // Undoes, newest first, every change kept under `tag` or a later one since the mark
    // `since` (0: all), and forgets them; each kept value goes to `undoValue` in its
    // turn, with its bytes.
    using TUndoValue = std::function<void(std::int32_t value, std::string_view bytes)>;
    void UndoFrom(std::int64_t tag, const TUndoValue& undoValue = nullptr, std::uint64_t since = 0);
    // The changes kept under `tag` or a later one are kept under `tag` from now on (the
    // lines of a sub-file leave the history, their FP line takes them).
    void RetagUndoFrom(std::int64_t tag);
    void ForgetUndo();
    // What the kept changes hold, in bytes.
    std::size_t UndoBytes() const { return FUndoBytes; }
    // The kept changes hold at most this many bytes: past it the oldest tags' changes go,
    // whole, and UndoFrom can no longer reach back to them. Without that bound a text
    // grown a character at a time would keep every length it had.
    // The default holds 100,000 lines of 21 changes of short values each, an INPUT's
    // most, in whole MiB.
    static constexpr std::size_t DefaultMaxUndoBytes = 65u << 20;
    std::size_t MaxUndoBytes = DefaultMaxUndoBytes;
    // The first tag whose changes are all still kept (0 until the bound was met).
    std::int64_t UndoReach() const { return FUndoReach; }

private:
    using TLines = TIndexedSequence<std::string>;
    using TLine = TLines::TNode;
    // Names compared as the lookup compares them: ASCII case ignored.
    struct TNameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const;
    };
    struct TNameEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    // The lines, and for each name the lines of that name in list order (rarely more
    // than one: a definition may stand before the value of its name).
    struct TStore {
        TStore() = default;
        // Copies the lines and indexes them afresh.
        TStore(const TStore& other);
        TStore& operator=(const TStore&) = delete;
        // Line `line`, now at `index`, joins or leaves its name's entry.
        void Index(TLine* line, int index);
        void Unindex(const TLine* line, int index);

        TLines Lines;
        std::unordered_map<std::string, std::vector<TLine*>, TNameHash, TNameEqual> ByName;
        std::size_t TextLength = 0;
        std::size_t EmptyNames = 0; // entries of ByName whose name has no line
    };
    static const std::shared_ptr<TStore>& EmptyStore();
    const TLine* FirstOfName(std::string_view name) const;
    // The store to change: copied first while another list shares it.
    TStore& Own();

    void CheckIndex(int index) const;
    // The changes themselves, recorded for a viewer but not kept for step back.
    void InsertLine(int index, std::string&& line);
    std::string EraseLine(int index);
    void Record(TVariablesChange::TKind kind, int index);
    void RecordReplaced();
    // The whole list becomes `store`.
    void Replace(std::shared_ptr<TStore> store);

    // A change, as step back takes it back: 32 bytes. The text a Set replaced or a
    // Delete or Reassign removed stands in Text when it fits, else at the back of
    // FUndoTexts (moved there); the list a Replace replaced at the back of FUndoStores;
    // a Value's number in Index.
    struct TUndoStep {
        enum TKind : unsigned char { Set, Insert, Delete, Reassign, Replace, Value };
        static constexpr unsigned char Long = 0xFF; // Length of a text kept in FUndoTexts
        std::int32_t Tag;
        std::int32_t Index;
        TKind Kind;
        unsigned char Length;
        char Text[22];
    };
    static_assert(sizeof(TUndoStep) == 32);
    TUndoStep& PushUndo(TUndoStep::TKind kind, int index, unsigned char length);
    void KeepUndo(TUndoStep::TKind kind, int index);
    void KeepUndo(TUndoStep::TKind kind, int index, std::string&& text);
    void KeepUndoBytes(TUndoStep::TKind kind, int index, std::string_view bytes);
    // Takes the newest kept change off the record: its text, when it keeps one, into `text`.
    TUndoStep PopUndo(std::string& text, std::shared_ptr<TStore>& store);
    // Forgets the oldest kept changes, whole tags at a time, until the record fits.
    void DropOldestUndo();
    static std::size_t LongTextBytes(const std::string& text) { return sizeof(std::string) + text.capacity(); }
    static std::size_t StoreBytes(const TStore& store);

    std::shared_ptr<TStore> FStore;

    std::uint64_t FIdentity;
    std::uint64_t FChangeCount = 0;
    // The change count before FRecord's first entry: the record covers the changes
    // from FRecordStart to FChangeCount.
    std::uint64_t FRecordStart = 0;
    std::vector<TVariablesChange> FRecord;

    std::int64_t FUndoTag = NoUndo;
    std::deque<TUndoStep> FUndo;
    std::deque<std::string> FUndoTexts;
    std::deque<std::shared_ptr<TStore>> FUndoStores;
    std::size_t FUndoBytes = 0;
    std::int64_t FUndoReach = 0;
    // The changes that left the record at its old end (bound, ForgetUndo): with
    // FUndo.size() the mark of its new end. Changes before FJoinFloor take no joins.
    std::uint64_t FUndoLeft = 0;
    std::uint64_t FJoinFloor = 0;
};
