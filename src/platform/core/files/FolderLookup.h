#pragma once
// Finding a file by a name whose letter case may differ from the name on disk, as on
// the case-insensitive file systems part programs and settings files come from.
//
// The rule: a name that exists as written is taken; otherwise each component of the
// path is matched ignoring ASCII case, the name as written tried first and then the
// other spellings in byte order (upper case before lower case), and the first
// spelling through which the whole path reaches a regular file wins.

#include <filesystem>
#include <string>

// The regular file of `folder` (the working folder when empty) whose name equals `name`
// ignoring ASCII case.
bool FindInFolder(const std::filesystem::path& folder, const std::string& name, std::filesystem::path& found);

// The regular file that `path` names when every component may differ in case: an
// absolute path from its root, a relative one from `base` (the working folder when
// empty; `found` then stays relative too). "." and ".." are taken as written.
bool FindPathIgnoringCase(const std::filesystem::path& base, const std::filesystem::path& path,
                          std::filesystem::path& found);
