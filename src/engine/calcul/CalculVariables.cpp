#include "engine/calcul/CalculVariables.h"

#include "platform/core/Exceptions.h"
#include "platform/core/text/StringUtils.h"

#include <algorithm>
#include <atomic>
#include <utility>

namespace {
std::uint64_t NewIdentity()
{
    static std::atomic<std::uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}
} // namespace

std::size_t TCalculVariables::TNameHash::operator()(std::string_view name) const
{
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (char c : name) {
        hash = (hash ^ static_cast<unsigned char>(LowCaseChar(c))) * 1099511628211ull;
    }
    return static_cast<std::size_t>(hash);
}

bool TCalculVariables::TNameEqual::operator()(std::string_view a, std::string_view b) const
{
    return SameText(a, b);
}

TCalculVariables::TStore::TStore(const TStore& other) : Lines(other.Lines), TextLength(other.TextLength)
{
    int index = 0;
    for (TLine* line = Lines.First(); line != nullptr; line = TLines::Next(line)) {
        Index(line, index++);
    }
}

void TCalculVariables::TStore::Index(TLine* line, int index)
{
    const std::string_view name = NameOf(line->Value);
    auto entry = ByName.find(name);
    if (entry == ByName.end()) {
        entry = ByName.emplace(std::string(name), std::vector<TLine*>()).first;
    } else if (entry->second.empty()) {
        --EmptyNames;
    }
    std::vector<TLine*>& lines = entry->second;
    if (lines.empty() || Lines.IndexOf(lines.back()) < index) {
        lines.push_back(line);
        return;
    }
    const auto at = std::partition_point(lines.begin(), lines.end(),
                                         [&](const TLine* other) { return Lines.IndexOf(other) < index; });
    lines.insert(at, line);
}

void TCalculVariables::TStore::Unindex(const TLine* line, int index)
{
    // A name's entry stays when its last line goes, since a program reassigns a variable
    // by deleting its line and adding the new one; the empty entries go together once
    // they outnumber the lines.
    std::vector<TLine*>& lines = ByName.find(NameOf(line->Value))->second;
    if (lines.size() == 1) {
        lines.clear();
        if (++EmptyNames > 64 && EmptyNames > static_cast<std::size_t>(Lines.Count())) {
            std::erase_if(ByName, [](const auto& entry) { return entry.second.empty(); });
            EmptyNames = 0;
        }
        return;
    }
    const auto at = std::partition_point(lines.begin(), lines.end(),
                                         [&](const TLine* other) { return Lines.IndexOf(other) < index; });
    lines.erase(at);
}

const std::shared_ptr<TCalculVariables::TStore>& TCalculVariables::EmptyStore()
{
    // Shared by every empty list: it is copied before anything changes it.
    static const std::shared_ptr<TStore> empty = std::make_shared<TStore>();
    return empty;
}

TCalculVariables::TStore& TCalculVariables::Own()
{
    if (FStore.use_count() > 1) {
        FStore = std::make_shared<TStore>(*FStore);
    }
    return *FStore;
}

TCalculVariables::TCalculVariables() : FStore(EmptyStore()), FIdentity(NewIdentity()) {}

TCalculVariables::TCalculVariables(const TCalculVariables& other) : FStore(other.FStore), FIdentity(NewIdentity())
{
}

TCalculVariables& TCalculVariables::operator=(const TCalculVariables& other)
{
    if (this != &other) {
        Replace(other.FStore);
    }
    return *this;
}

TCalculVariables& TCalculVariables::operator=(TCalculVariables&& other) noexcept
{
    if (this != &other) {
        std::shared_ptr<TStore> store = other.FStore;
        other.Replace(EmptyStore());
        Replace(std::move(store));
    }
    return *this;
}

void TCalculVariables::Replace(std::shared_ptr<TStore> store)
{
    if (FUndoTag != NoUndo) {
        FUndoBytes += StoreBytes(*FStore);
        FUndoStores.push_back(FStore);
        KeepUndo(TUndoStep::Replace, 0);
    }
    FStore = std::move(store);
    RecordReplaced();
}

std::size_t TCalculVariables::StoreBytes(const TStore& store)
{
    // A replaced list is counted by its text and a line's bookkeeping.
    return sizeof(std::shared_ptr<TStore>) + store.TextLength + store.Lines.Count() * (sizeof(TLine) + 32);
}

TCalculVariables::TUndoStep& TCalculVariables::PushUndo(TUndoStep::TKind kind, int index, unsigned char length)
{
    TUndoStep& step = FUndo.emplace_back();
    step.Tag = static_cast<std::int32_t>(FUndoTag);
    step.Index = index;
    step.Kind = kind;
    step.Length = length;
    FUndoBytes += sizeof(TUndoStep);
    return step;
}

void TCalculVariables::KeepUndo(TUndoStep::TKind kind, int index)
{
    PushUndo(kind, index, 0);
    if (FUndoBytes > MaxUndoBytes) {
        DropOldestUndo();
    }
}

void TCalculVariables::KeepUndo(TUndoStep::TKind kind, int index, std::string&& text)
{
    if (text.size() <= sizeof(TUndoStep::Text)) {
        TUndoStep& step = PushUndo(kind, index, static_cast<unsigned char>(text.size()));
        text.copy(step.Text, text.size());
    } else {
        FUndoBytes += LongTextBytes(text);
        FUndoTexts.push_back(std::move(text));
        PushUndo(kind, index, TUndoStep::Long);
    }
    if (FUndoBytes > MaxUndoBytes) {
        DropOldestUndo();
    }
}

TCalculVariables::TUndoStep TCalculVariables::PopUndo(std::string& text, std::shared_ptr<TStore>& store)
{
    const TUndoStep step = FUndo.back();
    FUndo.pop_back();
    FUndoBytes -= sizeof(TUndoStep);
    if (step.Kind == TUndoStep::Replace) {
        store = std::move(FUndoStores.back());
        FUndoStores.pop_back();
        FUndoBytes -= StoreBytes(*store);
    } else if (step.Length == TUndoStep::Long) {
        text = std::move(FUndoTexts.back());
        FUndoTexts.pop_back();
        FUndoBytes -= LongTextBytes(text);
    } else {
        text.assign(step.Text, step.Length);
    }
    return step;
}

void TCalculVariables::DropOldestUndo()
{
    // Whole tags go, so that every tag from the reach on is still undone completely.
    std::int64_t dropped = NoUndo;
    while (!FUndo.empty() && (FUndoBytes > MaxUndoBytes || FUndo.front().Tag == dropped)) {
        const TUndoStep& step = FUndo.front();
        dropped = step.Tag;
        if (step.Kind == TUndoStep::Replace) {
            FUndoBytes -= StoreBytes(*FUndoStores.front());
            FUndoStores.pop_front();
        } else if (step.Length == TUndoStep::Long) {
            FUndoBytes -= LongTextBytes(FUndoTexts.front());
            FUndoTexts.pop_front();
        }
        FUndoBytes -= sizeof(TUndoStep);
        FUndo.pop_front();
        ++FUndoLeft;
    }
    if (dropped != NoUndo) {
        FUndoReach = std::max(FUndoReach, dropped + 1);
    }
}

void TCalculVariables::KeepUndoBytes(TUndoStep::TKind kind, int index, std::string_view bytes)
{
    if (bytes.size() > sizeof(TUndoStep::Text)) {
        KeepUndo(kind, index, std::string(bytes));
        return;
    }
    TUndoStep& step = PushUndo(kind, index, static_cast<unsigned char>(bytes.size()));
    bytes.copy(step.Text, bytes.size());
    if (FUndoBytes > MaxUndoBytes) {
        DropOldestUndo();
    }
}

void TCalculVariables::KeepUndoValue(std::int32_t value, std::string_view bytes)
{
    if (FUndoTag != NoUndo) {
        KeepUndoBytes(TUndoStep::Value, value, bytes);
    }
}

bool TCalculVariables::JoinUndoValue(std::int32_t value, std::string_view bytes)
{
    if (FUndoTag == NoUndo || FUndo.empty() || FUndoLeft + FUndo.size() <= FJoinFloor) {
        return false;
    }
    TUndoStep& step = FUndo.back();
    if (step.Tag != FUndoTag || step.Kind != TUndoStep::Value || step.Index != value || step.Length == TUndoStep::Long
        || step.Length + bytes.size() > sizeof(TUndoStep::Text)) {
        return false;
    }
    bytes.copy(step.Text + step.Length, bytes.size());
    step.Length = static_cast<unsigned char>(step.Length + bytes.size());
    return true;
}

std::uint64_t TCalculVariables::MarkUndo()
{
    FJoinFloor = FUndoLeft + FUndo.size();
    return FJoinFloor;
}

void TCalculVariables::UndoFrom(std::int64_t tag, const TUndoValue& undoValue, std::uint64_t since)
{
    // What the undoing does is not kept.
    const std::int64_t kept = std::exchange(FUndoTag, NoUndo);
    std::string text;
    std::shared_ptr<TStore> store;
    while (!FUndo.empty() && FUndo.back().Tag >= tag && FUndoLeft + FUndo.size() > since) {
        const TUndoStep step = PopUndo(text, store);
        switch (step.Kind) {
        case TUndoStep::Set: SetStrings(step.Index, std::move(text)); break;
        case TUndoStep::Insert: Delete(step.Index); break;
        case TUndoStep::Delete: Insert(step.Index, std::move(text)); break;
        case TUndoStep::Reassign:
            Delete(Count() - 1);
            Insert(step.Index, std::move(text));
            break;
        case TUndoStep::Replace: Replace(std::move(store)); break;
        case TUndoStep::Value:
            if (undoValue) {
                undoValue(step.Index, text);
            }
            break;
        }
    }
    FUndoTag = kept;
}

void TCalculVariables::RetagUndoFrom(std::int64_t tag)
{
    // Tags never fall along the record: a step back undoes every later one first.
    for (auto step = FUndo.rbegin(); step != FUndo.rend() && step->Tag >= tag; ++step) {
        step->Tag = static_cast<std::int32_t>(tag);
    }
    // A tag that lost some of its changes can no longer be undone.
    if (FUndoReach > tag) {
        FUndoReach = tag + 1;
    }
}

void TCalculVariables::ForgetUndo()
{
    FUndoLeft += FUndo.size();
    FUndo = {};
    FUndoTexts = {};
    FUndoStores = {};
    FUndoBytes = 0;
    FUndoReach = 0;
}

void TCalculVariables::Record(TVariablesChange::TKind kind, int index)
{
    if (FRecord.size() >= MaxRecordedChanges) {
        FRecord.clear();
        FRecordStart = FChangeCount;
    }
    FRecord.push_back({kind, index});
    ++FChangeCount;
}

void TCalculVariables::RecordReplaced()
{
    FRecord.clear();
    ++FChangeCount;
    FRecordStart = FChangeCount;
}

bool TCalculVariables::ChangesSince(std::uint64_t since, std::vector<TVariablesChange>& changes) const
{
    changes.clear();
    if (since < FRecordStart || since > FChangeCount) {
        return false;
    }
    changes.assign(FRecord.begin() + static_cast<std::ptrdiff_t>(since - FRecordStart), FRecord.end());
    return true;
}

void TCalculVariables::Clear()
{
    Replace(EmptyStore());
}

void TCalculVariables::CheckIndex(int index) const
{
    if (index < 0 || index >= Count()) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
}

const std::string& TCalculVariables::Strings(int index) const
{
    CheckIndex(index);
    return FStore->Lines.At(index)->Value;
}

void TCalculVariables::SetStrings(int index, std::string line)
{
    CheckIndex(index);
    TStore& store = Own();
    TLine* node = store.Lines.At(index);
    const bool renamed = !SameText(NameOf(node->Value), NameOf(line));
    if (renamed) {
        store.Unindex(node, index);
    }
    store.TextLength = store.TextLength - node->Value.size() + line.size();
    std::string old = std::exchange(node->Value, std::move(line));
    if (renamed) {
        store.Index(node, index);
    }
    Record(TVariablesChange::Set, index);
    if (FUndoTag != NoUndo) {
        KeepUndo(TUndoStep::Set, index, std::move(old));
    }
}

int TCalculVariables::Add(std::string line)
{
    const int index = Count();
    Insert(index, std::move(line));
    return index;
}

void TCalculVariables::InsertLine(int index, std::string&& line)
{
    TStore& store = Own();
    store.TextLength += line.size() + 2;
    store.Index(store.Lines.Insert(index, std::move(line)), index);
    Record(TVariablesChange::Insert, index);
}

std::string TCalculVariables::EraseLine(int index)
{
    TStore& store = Own();
    TLine* node = store.Lines.At(index);
    store.Unindex(node, index);
    store.TextLength -= node->Value.size() + 2;
    std::string old = std::move(node->Value);
    store.Lines.Erase(node);
    Record(TVariablesChange::Delete, index);
    return old;
}

void TCalculVariables::Insert(int index, std::string line)
{
    if (index < 0 || index > Count()) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
    InsertLine(index, std::move(line));
    if (FUndoTag != NoUndo) {
        KeepUndo(TUndoStep::Insert, index);
    }
}

void TCalculVariables::Delete(int index)
{
    CheckIndex(index);
    std::string old = EraseLine(index);
    if (FUndoTag != NoUndo) {
        KeepUndo(TUndoStep::Delete, index, std::move(old));
    }
}

int TCalculVariables::Reassign(int index, std::string line)
{
    if (index < 0) {
        return Add(std::move(line));
    }
    CheckIndex(index);
    std::string old = EraseLine(index);
    const int added = Count();
    InsertLine(added, std::move(line));
    if (FUndoTag != NoUndo) {
        KeepUndo(TUndoStep::Reassign, index, std::move(old));
    }
    return added;
}

const TCalculVariables::TLine* TCalculVariables::FirstOfName(std::string_view name) const
{
    if (name.find('=') != std::string_view::npos) {
        return nullptr; // a name never holds "=": the text before the first one is shorter
    }
    const auto entry = FStore->ByName.find(name);
    return entry == FStore->ByName.end() || entry->second.empty() ? nullptr : entry->second.front();
}

int TCalculVariables::IndexOfName(std::string_view name) const
{
    const TLine* line = FirstOfName(name);
    return line == nullptr ? -1 : FStore->Lines.IndexOf(line);
}

const std::string* TCalculVariables::LineOfName(std::string_view name) const
{
    const TLine* line = FirstOfName(name);
    return line == nullptr ? nullptr : &line->Value;
}

std::string_view TCalculVariables::Names(int index) const
{
    return NameOf(Strings(index));
}

std::string_view TCalculVariables::ValueOf(std::string_view line)
{
    const auto eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1);
}

std::string_view TCalculVariables::ValueFromIndex(int index) const
{
    return ValueOf(Strings(index));
}

std::string TCalculVariables::Values(std::string_view name) const
{
    const std::string* line = LineOfName(name);
    return line == nullptr ? std::string() : std::string(ValueOf(*line));
}

void TCalculVariables::SetValue(std::string_view name, std::string_view value)
{
    std::string line;
    line.reserve(name.size() + 1 + value.size());
    line.append(name).append("=").append(value);
    const int i = IndexOfName(name);
    if (i < 0) {
        Add(std::move(line));
    } else {
        SetStrings(i, std::move(line));
    }
}

std::string TCalculVariables::Text() const
{
    std::string out;
    out.reserve(FStore->TextLength);
    for (const TLine* line = FStore->Lines.First(); line != nullptr; line = TLines::Next(line)) {
        out += line->Value;
        out += "\r\n";
    }
    return out;
}

void TCalculVariables::SetText(std::string_view text)
{
    auto store = std::make_shared<TStore>();
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t j = i;
        while (j < text.size() && text[j] != '\r' && text[j] != '\n') {
            ++j;
        }
        const int index = store->Lines.Count();
        store->Index(store->Lines.Insert(index, std::string(text.substr(i, j - i))), index);
        store->TextLength += j - i + 2;
        if (j < text.size() && text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') {
            ++j;
        }
        i = j + 1;
    }
    Replace(std::move(store));
}
