#pragma once
// Finding a file by a name whose letter case may differ from the name on disk, as on
// the case-insensitive file systems part programs and settings files come from.

#include <filesystem>
#include <string>

// The regular file of `folder` (the working folder when empty) whose name equals `name`
// ignoring ASCII case; an exact match wins over the others.
bool FindInFolder(const std::filesystem::path& folder, const std::string& name, std::filesystem::path& found);
