#pragma once
// The code insert items: named snippets of part-program text kept in KerfpadCI.ini
// beside the executable (section "Code Insert": "ItemCount", then "Item<n>" and
// "Value<n>" from 1). A value keeps its line breaks as "~" in the file and may hold
// them either way in memory; keys past the count, left by a longer list, stay in the
// file unread.

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class TIniFile;

struct Tci {
    QString Item;
    QString Value;
    bool operator==(const Tci&) const = default;
};

inline constexpr const char* CodeInsertSection = "Code Insert";
inline const QString CodeInsertFileTitle = QStringLiteral("KerfpadCI.ini");

// The file beside the executable (found without regard to letter case), or where a new
// one goes.
QString CodeInsertFileName();

// Every "~" as CR LF, and back.
QString TildesToLineBreaks(const QString& value);
QString LineBreaksToTildes(const QString& value);
// The value as the items page shows it and keeps it once shown: "~" as CR LF, trimmed of
// blanks and control characters at both ends.
QString ShownCodeInsertValue(const QString& value);

// The items of the file; an absent file gives none. A count that is not a whole number
// or is negative, or an absent "Item<n>" or "Value<n>" key within the count, raises
// EBadSettingsFile naming the file, section, key and text.
std::vector<Tci> ReadCodeInsertItems(const TIniFile& ini);
// "ItemCount" and the keys of each item; other keys stay.
void WriteCodeInsertItems(TIniFile& ini, const std::vector<Tci>& items);

// The item list behind the page and the completion list.
class TCodeInsertItems {
public:
    std::vector<Tci> Items;

    int Count() const { return static_cast<int>(Items.size()); }
    // Reads the file into Items; a bad file gives an error box, keeps Items as they were
    // and returns false (so nothing is written over the file).
    bool Load(const std::string& fileName);
    // Writes Items into the file atomically; a failure gives an error box naming the file,
    // which stays as it was, and returns false.
    bool Save(const std::string& fileName) const;
    QStringList Names() const;
    // The values as the completion list inserts them: "~" as CR LF.
    QStringList InsertValues() const;
    // Item `index`'s value with every CR LF as "~"; "" outside 0..Count()-1.
    QString GetCodeInsertValue(int index) const;
    // Shows item `index`: its value converted by ShownCodeInsertValue and stored back.
    QString Show(int index);
    // Appends an item with an empty value; its index.
    int Add(const QString& name);
    // Later items move up by one.
    void Remove(int index);
};
