#include "app/settings/CheckedIniReader.h"

#include "platform/core/files/IniFile.h"
#include "platform/core/text/NumberFormat.h"

TCheckedIniReader::TCheckedIniReader(const TIniFile& ini) : FIni(ini)
{
    if (!ini.Readable()) {
        throw EBadSettingsFile("The file \"" + ini.FileName() + "\" cannot be read. " + ini.ReadError());
    }
}

void TCheckedIniReader::Fail(std::string_view section, std::string_view key, std::string_view problem) const
{
    std::string message = "The file \"" + FIni.FileName() + "\" is not used: section [" + std::string(section) + "]";
    if (!key.empty()) {
        message += ", key " + std::string(key);
    }
    throw EBadSettingsFile(message + " " + std::string(problem) + ".");
}

bool TCheckedIniReader::SectionExists(std::string_view section) const
{
    return FIni.SectionExists(section);
}

void TCheckedIniReader::RequireSection(std::string_view section) const
{
    if (!FIni.SectionExists(section)) {
        Fail(section, {}, "is missing");
    }
}

std::string TCheckedIniReader::String(std::string_view section, std::string_view key,
                                      std::string_view fallback) const
{
    return FIni.ReadString(section, key, fallback);
}

std::string TCheckedIniReader::RequiredString(std::string_view section, std::string_view key) const
{
    if (!FIni.ValueExists(section, key)) {
        Fail(section, key, "is missing");
    }
    return FIni.ReadString(section, key, {});
}

int TCheckedIniReader::Integer(std::string_view section, std::string_view key, int fallback) const
{
    if (!FIni.ValueExists(section, key)) {
        return fallback;
    }
    const std::string text = FIni.ReadString(section, key, {});
    int value = 0;
    if (!TryStrToInt(text, value)) {
        Fail(section, key, "holds \"" + text + "\", which is not a whole number");
    }
    return value;
}

int TCheckedIniReader::Count(std::string_view section, std::string_view key) const
{
    const int count = Integer(section, key, 0);
    if (count < 0) {
        Fail(section, key, "holds \"" + FIni.ReadString(section, key, {}) + "\", which is not a count");
    }
    return count;
}
