#pragma once
// Taking over the editor colours another IDE keeps in the registry: the installed
// versions are the subkeys of its product key under the local machine, and each
// version keeps one split-form entry per token class under the current user.

#include "editor/CodeHighlighterAttributes.h"

#include <QStringList>

#include <span>
#include <string>

struct TCodeIDEColorEntry {
    const char* entry;                     // the IDE's name for the token class
    TCodeHighlighterAttributes* attribute; // ours
};

// The subkeys of `productKey` under the local machine; empty when it is missing.
void ListIDEVersions(const std::string& productKey, QStringList& versions);

// Reads every entry under `highlightKey` (current user) into its attribute. All or
// nothing: false, and no attribute changed, when one entry is missing or malformed.
bool LoadIDEColors(const std::string& highlightKey, std::span<const TCodeIDEColorEntry> entries);
