#pragma once
// How an FP argument names a file: the text before the first ",", trimmed, with
// ".sbp" added when the file part has no extension. A relative name is looked up in
// the working folder, then in the main file's folder; every component of the name,
// folders included, may differ in case from the names on disk (the rule of
// platform/core/files/FolderLookup.h), since variable text comes upper-cased. Nothing is cut
// from the name: the preprocessor has already removed the line's comment.

#include <string>
#include <string_view>

// The path of the file; when none exists, the name in the main file's folder (or as
// written when it has a folder of its own), for the "cannot find" report.
std::string ResolveSubFileName(std::string_view text, const std::string& mainFileName);
