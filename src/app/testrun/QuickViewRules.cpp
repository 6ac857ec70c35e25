#include "app/testrun/QuickViewRules.h"

#include "platform/core/text/StringUtils.h"

std::vector<std::string> ParseFileMasks(std::string_view text)
{
    std::vector<std::string> masks;
    while (true) {
        const std::size_t end = text.find(';');
        std::string mask = Trim(text.substr(0, end));
        if (!mask.empty()) {
            masks.push_back(std::move(mask));
        }
        if (end == std::string_view::npos) {
            return masks;
        }
        text.remove_prefix(end + 1);
    }
}

bool MatchesFileMask(std::string_view name, std::string_view mask)
{
    // Greedy with one point to return to: the last "*" takes one more character when
    // what follows it fails to match.
    std::size_t n = 0;
    std::size_t m = 0;
    std::size_t starMask = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == '?' || UpCaseChar(mask[m]) == UpCaseChar(name[n]))) {
            ++m;
            ++n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') {
        ++m;
    }
    return m == mask.size();
}

bool MatchesFileMasks(std::string_view name, const std::vector<std::string>& masks)
{
    if (masks.empty()) {
        return true;
    }
    for (const std::string& mask : masks) {
        if (MatchesFileMask(name, mask)) {
            return true;
        }
    }
    return false;
}

void TQuickViewQueue::Select(const std::string& fileName, const TRun& run, const TStop& stop)
{
    if (FRunning) {
        FNext = fileName;
        stop();
        return;
    }
    FRunning = true;
    std::string next = fileName;
    try {
        while (true) {
            run(next);
            if (!FNext) {
                break;
            }
            next = std::move(*FNext);
            FNext.reset();
        }
    } catch (...) {
        FRunning = false;
        FNext.reset();
        throw;
    }
    FRunning = false;
}
