#pragma once
// Taking over the editor colours another IDE keeps in the registry: the installed
// versions are the subkeys of its product key under the local machine, and each
// version keeps one split-form entry per token class under the current user.

#include "editor/highlighting/CodeHighlighterAttributes.h"

#include <QStringList>

#include <span>
#include <string>

struct TCodeIDEColorEntry {
    const char* entry;                     // the IDE's name for the token class
    TCodeHighlighterAttributes* attribute; // ours
};

// The installed versions of the product ("Delphi"): the subkeys of
// SOFTWARE\Borland\<product> under the local machine; none when it is missing.
void ListIDEVersions(const std::string& product, QStringList& versions);

// Reads every entry of that version's Editor\Highlight key (current user) into its
// attribute. All or nothing: false, and no attribute changed, when the version names no
// single key or one entry is missing or malformed.
bool LoadIDEColors(const std::string& product, const QString& version, std::span<const TCodeIDEColorEntry> entries);
