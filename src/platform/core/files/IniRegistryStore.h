#pragma once
// The registry kept in an INI file of the user's: each key is a section named by its
// root and path ("HKEY_CURRENT_USER\Software\Kerfpad"), each value a line of that
// section, "dword:<decimal>" for an integer and "sz:<text>" for a string. Every change
// is written through at once (atomically); a change the file does not take is undone
// in memory too, and reported as the store's refusal.
//
// String values lose trailing blanks and turn line breaks into blanks, as INI values do.

#include "platform/core/files/IniFile.h"
#include "platform/core/files/Registry.h"

#include <string>

// $XDG_CONFIG_HOME/kerfpad/registry.ini, or ~/.config/kerfpad/registry.ini when the
// variable is unset or not an absolute path.
std::string DefaultRegistryFileName();

class TIniRegistryStore : public IRegistryStore {
public:
    explicit TIniRegistryStore(const std::string& fileName = DefaultRegistryFileName());

    bool KeyExists(TRegistryRoot root, const std::string& path) const override;
    bool CreateKey(TRegistryRoot root, const std::string& path) override;
    bool DeleteKey(TRegistryRoot root, const std::string& path) override;
    std::vector<std::string> SubKeyNames(TRegistryRoot root, const std::string& path) const override;
    std::vector<std::string> ValueNames(TRegistryRoot root, const std::string& path) const override;
    std::optional<TRegistryValue> ReadValue(TRegistryRoot root, const std::string& path,
                                            const std::string& name) const override;
    bool WriteValue(TRegistryRoot root, const std::string& path, const std::string& name,
                    const TRegistryValue& value) override;
    bool DeleteValue(TRegistryRoot root, const std::string& path, const std::string& name) override;

    const std::string& FileName() const { return FIni.FileName(); }

private:
    // Applies `change` and writes the file; on failure restores the old content.
    template <class F>
    bool Commit(F&& change);
    void CreateSections(TRegistryRoot root, const std::string& path);

    TIniFile FIni;
};
