#include "platform/core/files/IniRegistryStore.h"

#include "platform/core/text/NumberFormat.h"
#include "platform/core/text/StringUtils.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr std::string_view IntegerTag = "dword:";
constexpr std::string_view StringTag = "sz:";

const char* RootName(TRegistryRoot root)
{
    switch (root) {
    case TRegistryRoot::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    case TRegistryRoot::ClassesRoot:
        return "HKEY_CLASSES_ROOT";
    case TRegistryRoot::CurrentUser:
        break;
    }
    return "HKEY_CURRENT_USER";
}

// Path parts without empty ones, so "a\\b\" and "a\b" name one key.
std::vector<std::string> PathParts(const std::string& path)
{
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (from <= path.size()) {
        const std::size_t to = std::min(path.find('\\', from), path.size());
        if (to > from)
            parts.push_back(path.substr(from, to - from));
        from = to + 1;
    }
    return parts;
}

std::string Section(TRegistryRoot root, const std::vector<std::string>& parts, std::size_t count)
{
    std::string section = RootName(root);
    for (std::size_t i = 0; i < count; ++i)
        section += "\\" + parts[i];
    return section;
}

std::string Section(TRegistryRoot root, const std::string& path)
{
    const auto parts = PathParts(path);
    return Section(root, parts, parts.size());
}

bool StartsWithText(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

} // namespace

std::string DefaultRegistryFileName()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (config && config[0] == '/') {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::string(home ? home : "") + "/.config";
    }
    return folder + "/kerfpad/registry.ini";
}

TIniRegistryStore::TIniRegistryStore(const std::string& fileName) : FIni(fileName) {}

template <class F>
bool TIniRegistryStore::Commit(F&& change)
{
    TIniFile before = FIni;
    change();
    try {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(FIni.FileName()).parent_path(), ec);
        FIni.UpdateFile();
        return true;
    } catch (const Exception&) {
        FIni = std::move(before);
        return false;
    }
}

void TIniRegistryStore::CreateSections(TRegistryRoot root, const std::string& path)
{
    const auto parts = PathParts(path);
    for (std::size_t n = 1; n <= parts.size(); ++n)
        FIni.AddSection(Section(root, parts, n));
}

bool TIniRegistryStore::KeyExists(TRegistryRoot root, const std::string& path) const
{
    return PathParts(path).empty() || FIni.SectionExists(Section(root, path));
}

bool TIniRegistryStore::CreateKey(TRegistryRoot root, const std::string& path)
{
    if (KeyExists(root, path))
        return true;
    return Commit([&] { CreateSections(root, path); });
}

bool TIniRegistryStore::DeleteKey(TRegistryRoot root, const std::string& path)
{
    if (PathParts(path).empty() || !KeyExists(root, path))
        return false;
    const std::string section = Section(root, path);
    return Commit([&] {
        for (const auto& name : FIni.ReadSections())
            if (SameText(name, section) || StartsWithText(name, section + "\\"))
                FIni.EraseSection(name);
    });
}

std::vector<std::string> TIniRegistryStore::SubKeyNames(TRegistryRoot root, const std::string& path) const
{
    const std::string prefix = Section(root, path) + "\\";
    std::vector<std::string> names;
    for (const auto& section : FIni.ReadSections()) {
        if (!StartsWithText(section, prefix))
            continue;
        const std::string rest = section.substr(prefix.size());
        const auto parts = PathParts(rest);
        if (parts.empty())
            continue;
        bool known = false;
        for (const auto& name : names)
            known = known || SameText(name, parts[0]);
        if (!known)
            names.push_back(parts[0]);
    }
    return names;
}

std::vector<std::string> TIniRegistryStore::ValueNames(TRegistryRoot root, const std::string& path) const
{
    return FIni.ReadSection(Section(root, path));
}

std::optional<TRegistryValue> TIniRegistryStore::ReadValue(TRegistryRoot root, const std::string& path,
                                                           const std::string& name) const
{
    const std::string section = Section(root, path);
    if (!FIni.ValueExists(section, name))
        return std::nullopt;
    const std::string text = FIni.ReadString(section, name, {});
    if (StartsWithText(text, IntegerTag)) {
        std::int64_t value = 0;
        if (TryStrToInt64(std::string_view(text).substr(IntegerTag.size()), value) && value >= INT32_MIN &&
            value <= INT32_MAX)
            return TRegistryValue(static_cast<std::int32_t>(value));
    }
    if (StartsWithText(text, StringTag))
        return TRegistryValue(text.substr(StringTag.size()));
    // A line written by hand without a tag is a string.
    return TRegistryValue(text);
}

bool TIniRegistryStore::WriteValue(TRegistryRoot root, const std::string& path, const std::string& name,
                                   const TRegistryValue& value)
{
    const std::string text = std::holds_alternative<std::int32_t>(value)
                                 ? std::string(IntegerTag) + IntToStr(std::get<std::int32_t>(value))
                                 : std::string(StringTag) + std::get<std::string>(value);
    return Commit([&] {
        CreateSections(root, path);
        FIni.WriteString(Section(root, path), name, text);
    });
}

bool TIniRegistryStore::DeleteValue(TRegistryRoot root, const std::string& path, const std::string& name)
{
    const std::string section = Section(root, path);
    if (!FIni.ValueExists(section, name))
        return false;
    return Commit([&] { FIni.DeleteKey(section, name); });
}
