#pragma once
// The quick view's rules, without a window: the file-type masks of its field, and one
// quick view at a time.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The masks of the "File Types:" field: split at ";", each trimmed, empty ones dropped.
std::vector<std::string> ParseFileMasks(std::string_view text);
// Whether a file name matches a mask: "*" stands for any run of characters, "?" for one;
// letters match in either case.
bool MatchesFileMask(std::string_view name, std::string_view mask);
// Whether it matches any of the masks; no mask at all lists every file.
bool MatchesFileMasks(std::string_view name, const std::vector<std::string>& masks);

// A selection while a quick view runs stops that one and runs after it has returned, so
// quick views never nest; of several selections meanwhile the last one runs.
class TQuickViewQueue {
public:
    using TRun = std::function<void(const std::string& fileName)>;
    using TStop = std::function<void()>;

    // Runs `fileName` (and whatever is selected meanwhile), or, inside a quick view,
    // stops it and leaves `fileName` to run next.
    void Select(const std::string& fileName, const TRun& run, const TStop& stop);
    bool Running() const { return FRunning; }

private:
    bool FRunning = false;
    std::optional<std::string> FNext;
};
