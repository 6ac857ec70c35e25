#pragma once
// Reading a settings file that must be taken whole or not at all (the highlighting
// rules, the code insert items): every read checks what it finds and raises
// EBadSettingsFile with a message that names the file, the section, the key and the
// text found, so the caller can refuse the whole file before it changes anything.

#include "platform/core/Exceptions.h"

#include <string>
#include <string_view>

class TIniFile;

class EBadSettingsFile : public Exception {
    using Exception::Exception;
};

class TCheckedIniReader {
public:
    // A file that exists but cannot be read is refused here: writing it back later
    // would replace what could not be read.
    explicit TCheckedIniReader(const TIniFile& ini);

    const TIniFile& Ini() const { return FIni; }
    bool SectionExists(std::string_view section) const;
    // A counted section: its absence is a fault.
    void RequireSection(std::string_view section) const;
    // The text of the key; `fallback` when it is absent.
    std::string String(std::string_view section, std::string_view key, std::string_view fallback) const;
    // The text of a key that must be present.
    std::string RequiredString(std::string_view section, std::string_view key) const;
    // A whole number (decimal, or hexadecimal after "$" or "0x"); `fallback` when absent.
    int Integer(std::string_view section, std::string_view key, int fallback) const;
    // A whole number that is not negative; 0 when absent.
    int Count(std::string_view section, std::string_view key) const;

    [[noreturn]] void Fail(std::string_view section, std::string_view key, std::string_view problem) const;

private:
    const TIniFile& FIni;
};
