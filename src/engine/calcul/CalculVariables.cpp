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

TCalculVariables::TCalculVariables() : FIdentity(NewIdentity()) {}

TCalculVariables::TCalculVariables(const TCalculVariables& other)
    : FLines(other.FLines), FKeys(other.FKeys), FTextLength(other.FTextLength), FIdentity(NewIdentity())
{
}

TCalculVariables& TCalculVariables::operator=(const TCalculVariables& other)
{
    if (this != &other) {
        FLines = other.FLines;
        FKeys = other.FKeys;
        FTextLength = other.FTextLength;
        RecordReplaced();
    }
    return *this;
}

TCalculVariables& TCalculVariables::operator=(TCalculVariables&& other) noexcept
{
    if (this != &other) {
        FLines = std::move(other.FLines);
        FKeys = std::move(other.FKeys);
        FTextLength = std::exchange(other.FTextLength, 0);
        other.FLines.clear();
        other.FKeys.clear();
        RecordReplaced();
        other.RecordReplaced();
    }
    return *this;
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
    FLines.clear();
    FKeys.clear();
    FTextLength = 0;
    RecordReplaced();
}

std::uint32_t TCalculVariables::NameKey(std::string_view name)
{
    const std::size_t length = std::min<std::size_t>(name.size(), 0xFFFFFF);
    const unsigned char first = name.empty() ? 0 : static_cast<unsigned char>(LowCaseChar(name[0]));
    return static_cast<std::uint32_t>(length << 8) | first;
}

std::uint32_t TCalculVariables::LineKey(std::string_view line)
{
    return NameKey(line.substr(0, line.find('=')));
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
    return FLines[static_cast<std::size_t>(index)];
}

void TCalculVariables::SetStrings(int index, std::string line)
{
    CheckIndex(index);
    FKeys[static_cast<std::size_t>(index)] = LineKey(line);
    FTextLength = FTextLength - FLines[static_cast<std::size_t>(index)].size() + line.size();
    FLines[static_cast<std::size_t>(index)] = std::move(line);
    Record(TVariablesChange::Set, index);
}

int TCalculVariables::Add(std::string line)
{
    FKeys.push_back(LineKey(line));
    FTextLength += line.size() + 2;
    FLines.push_back(std::move(line));
    Record(TVariablesChange::Insert, Count() - 1);
    return Count() - 1;
}

void TCalculVariables::Insert(int index, std::string line)
{
    if (index < 0 || index > Count()) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
    FKeys.insert(FKeys.begin() + index, LineKey(line));
    FTextLength += line.size() + 2;
    FLines.insert(FLines.begin() + index, std::move(line));
    Record(TVariablesChange::Insert, index);
}

void TCalculVariables::Delete(int index)
{
    CheckIndex(index);
    FKeys.erase(FKeys.begin() + index);
    FTextLength -= FLines[static_cast<std::size_t>(index)].size() + 2;
    FLines.erase(FLines.begin() + index);
    Record(TVariablesChange::Delete, index);
}

int TCalculVariables::IndexOfName(std::string_view name) const
{
    const std::size_t n = name.size();
    if (name.find('=') != std::string_view::npos) {
        return -1; // a name never holds "=": the text before the first one is shorter
    }
    const std::uint32_t key = NameKey(name);
    for (std::size_t i = 0; i < FKeys.size(); ++i) {
        if (FKeys[i] != key) {
            continue;
        }
        const std::string& line = FLines[i];
        // Same length and first letter: the line's name is its first n characters.
        if (line.size() >= n && (line.size() == n || line[n] == '=') &&
            SameText(std::string_view(line).substr(0, n), name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string_view TCalculVariables::Names(int index) const
{
    std::string_view line = Strings(index);
    return line.substr(0, line.find('='));
}

std::string_view TCalculVariables::ValueFromIndex(int index) const
{
    std::string_view line = Strings(index);
    const auto eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1);
}

std::string TCalculVariables::Values(std::string_view name) const
{
    const int i = IndexOfName(name);
    return i < 0 ? std::string() : std::string(ValueFromIndex(i));
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
    out.reserve(FTextLength);
    for (const std::string& line : FLines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

void TCalculVariables::SetText(std::string_view text)
{
    FLines.clear();
    FKeys.clear();
    FTextLength = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t j = i;
        while (j < text.size() && text[j] != '\r' && text[j] != '\n') {
            ++j;
        }
        FKeys.push_back(LineKey(text.substr(i, j - i)));
        FLines.emplace_back(text.substr(i, j - i));
        FTextLength += j - i + 2;
        if (j < text.size() && text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') {
            ++j;
        }
        i = j + 1;
    }
    RecordReplaced();
}
