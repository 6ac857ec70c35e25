#pragma once
// An INI file with the semantics of the Windows profile functions: "[section]" lines
// and "key=value" lines; section and key names compare without regard to ASCII case;
// where a section or a key appears twice, the first one wins; the value is the rest of
// the line after the first "=", trimmed, with no quoting or escaping (so "50,25,75" is
// one value). Lines starting with ';' or '#' and lines that fit neither form are kept
// as they are, as is the order of everything, so a file that is only read and written
// back comes out byte for byte as it went in, with the line breaks it had.
//
// Changes stay in memory until UpdateFile, which replaces the file atomically. Nothing
// is written from the destructor.

#include <string>
#include <string_view>
#include <vector>

class TIniFile {
public:
    // Reads the file. A missing file gives an empty one; a file that exists but cannot
    // be read gives an empty one too, and UpdateFile then refuses to replace it.
    explicit TIniFile(std::string fileName);

    const std::string& FileName() const { return FFileName; }
    // False when the file existed but could not be read; ReadError then says why
    // (OpenRegularFile's refusal of what is no regular file among the reasons).
    bool Readable() const { return FReadError.empty(); }
    const std::string& ReadError() const { return FReadError; }

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    // Missing keys give the default. A key with an empty value reads as the empty text.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // Decimal, or hexadecimal after "$" or "0x" (eight hex digits wrap to a negative
    // value, as colours are stored); anything else gives the default.
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    // Read as an integer: anything but 0 is true.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;
    // '.' as the decimal separator, whatever the locale; anything else gives the default.
    double ReadFloat(std::string_view section, std::string_view key, double fallback) const;

    // A line break in a value would split it into two entries; each is written as a blank.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    // "1" or "0".
    void WriteBool(std::string_view section, std::string_view key, bool value);
    // Shortest form with '.' and no grouping: 20.0 as "20", 0.5 as "0.5".
    void WriteFloat(std::string_view section, std::string_view key, double value);

    // Key names of the section, each once, in file order.
    std::vector<std::string> ReadSection(std::string_view section) const;
    std::vector<std::string> ReadSections() const;
    // "key=value" for each key of the section.
    std::vector<std::string> ReadSectionValues(std::string_view section) const;

    // Adds an empty section at the end unless it exists.
    void AddSection(std::string_view section);
    // Removes every occurrence of the section with all its lines.
    void EraseSection(std::string_view section);
    // Removes every line of the key in the section, so no later duplicate comes to light.
    void DeleteKey(std::string_view section, std::string_view key);

    // The bytes UpdateFile writes.
    std::string Text() const;
    // Writes the file atomically; raises a file error (EStreamError) naming the file when
    // it cannot, and EFCreateError when the file could not be read (its content would be
    // lost).
    void UpdateFile();

private:
    enum class TKind { Other, Section, Key };
    struct TLine {
        std::string Text;  // as in the file, without the line break
        std::string Break; // "\r\n", "\n", or empty on a last line without one
        TKind Kind = TKind::Other;
        std::string Name;  // section or key name, trimmed
        std::string Value; // of a key, trimmed
    };

    void Parse(std::string_view bytes);
    static TLine MakeLine(std::string text, std::string lineBreak);
    // Index of the first line of the key, or -1.
    int FindKey(std::string_view section, std::string_view key) const;
    // Calls f(index) for each line inside every occurrence of the section, in order.
    template <class F>
    void ForEachLineIn(std::string_view section, F&& f) const;
    void Append(TLine line);

    std::string FFileName;
    std::string FReadError;
    std::string FBom;
    std::string FBreak = "\n";
    std::vector<TLine> FLines;
};
