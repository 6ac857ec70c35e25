#include "engine/LabelIndex.h"

#include "engine/LineText.h"
#include "platform/core/text/StringUtils.h"

void TLabelIndex::Build(const TProgramLines& lines)
{
    FIndex.clear();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view name;
        if (IsLabelLine(lines[i], &name)) {
            FIndex.emplace(LowerCase(name), static_cast<int>(i));
        }
    }
    FLines = &lines;
    FCount = lines.size();
}

bool TLabelIndex::LineIsLabel(const std::string& line, std::string_view lowerName)
{
    std::string_view name;
    return IsLabelLine(line, &name) && SameText(name, lowerName);
}

int TLabelIndex::Find(const TProgramLines& lines, std::string_view name)
{
    const std::string lowerName = LowerCase(name);
    if (FLines != &lines || FCount != lines.size()) {
        Build(lines);
    }
    auto it = FIndex.find(lowerName);
    if (it != FIndex.end() && LineIsLabel(lines[static_cast<std::size_t>(it->second)], lowerName)) {
        return it->second;
    }
    // A miss, or the program was edited since the index was built: rebuild, so a label
    // added since is found and the next jump is fast again.
    Build(lines);
    it = FIndex.find(lowerName);
    return it == FIndex.end() ? -1 : it->second;
}
