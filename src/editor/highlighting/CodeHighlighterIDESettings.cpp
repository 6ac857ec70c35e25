#include "editor/highlighting/CodeHighlighterIDESettings.h"

#include "platform/core/files/Registry.h"

#include <memory>
#include <vector>

void ListIDEVersions(const std::string& product, QStringList& versions)
{
    versions.clear();
    TRegistry registry;
    registry.SetRootKey(TRegistryRoot::LocalMachine);
    if (!registry.OpenKeyReadOnly("SOFTWARE\\Borland\\" + product)) {
        return;
    }
    for (const std::string& name : registry.GetKeyNames()) {
        versions.append(QString::fromStdString(name));
    }
}

bool LoadIDEColors(const std::string& product, const QString& version, std::span<const TCodeIDEColorEntry> entries)
{
    if (version.isEmpty() || version.contains(QLatin1Char('\\'))) {
        return false;
    }
    const std::string highlightKey =
        "Software\\Borland\\" + product + "\\" + version.toStdString() + "\\Editor\\Highlight";
    std::vector<std::unique_ptr<TCodeHighlighterAttributes>> read;
    read.reserve(entries.size());
    for (const TCodeIDEColorEntry& e : entries) {
        auto copy = std::make_unique<TCodeHighlighterAttributes>(e.attribute->Name());
        copy->Assign(e.attribute);
        if (!copy->LoadFromRegistryEntry(TRegistryRoot::CurrentUser, highlightKey, QString::fromLatin1(e.entry),
                                         false)) {
            return false;
        }
        read.push_back(std::move(copy));
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].attribute->Assign(read[i].get());
    }
    return true;
}
