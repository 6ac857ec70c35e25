#pragma once
// Settings records read and written key by key through a table of (key, member), in
// the table's order: integers (and colours) as integers, Booleans as "1"/"0", texts as
// they are, floating-point numbers with '.'. A missing key, or one that holds no valid
// number, reads as the member's value before the read, its default.

#include "platform/core/files/IniFile.h"

#include <string>
#include <string_view>
#include <variant>

template <class Record>
struct TSettingField {
    const char* Key;
    std::variant<bool Record::*, int Record::*, double Record::*, std::string Record::*> Member;
};

template <class Record, std::size_t N>
void ReadSettingFields(const TIniFile& ini, std::string_view section, const TSettingField<Record> (&fields)[N],
                       Record& record)
{
    for (const auto& field : fields) {
        std::visit(
            [&](auto member) {
                auto& value = record.*member;
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, bool>)
                    value = ini.ReadBool(section, field.Key, value);
                else if constexpr (std::is_same_v<T, int>)
                    value = ini.ReadInteger(section, field.Key, value);
                else if constexpr (std::is_same_v<T, double>)
                    value = ini.ReadFloat(section, field.Key, value);
                else
                    value = ini.ReadString(section, field.Key, value);
            },
            field.Member);
    }
}

template <class Record, std::size_t N>
void WriteSettingFields(TIniFile& ini, std::string_view section, const TSettingField<Record> (&fields)[N],
                        const Record& record)
{
    for (const auto& field : fields) {
        std::visit(
            [&](auto member) {
                const auto& value = record.*member;
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, bool>)
                    ini.WriteBool(section, field.Key, value);
                else if constexpr (std::is_same_v<T, int>)
                    ini.WriteInteger(section, field.Key, value);
                else if constexpr (std::is_same_v<T, double>)
                    ini.WriteFloat(section, field.Key, value);
                else
                    ini.WriteString(section, field.Key, value);
            },
            field.Member);
    }
}
