#include "app/settings/CodeInsertItems.h"

#include "app/shell/AppPaths.h"
#include "app/settings/CheckedIniReader.h"

#include "platform/core/services/DialogService.h"
#include "platform/core/files/IniFile.h"
#include "platform/core/text/NumberFormat.h"

#include <QDir>

#include <algorithm>

namespace {

const QString Tilde = QStringLiteral("~");
const QString LineBreak = QStringLiteral("\r\n");

std::string Key(const char* name, int n)
{
    return name + IntToStr(n);
}

// Blanks and control characters at both ends go, as the platform trims.
QString TrimControls(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= u' ') {
        ++first;
    }
    while (last > first && text[last - 1].unicode() <= u' ') {
        --last;
    }
    return text.mid(first, last - first);
}

} // namespace

QString CodeInsertFileName()
{
    const QString found = FindAppFile(CodeInsertFileTitle);
    return found.isEmpty() ? QDir(AppDir()).filePath(CodeInsertFileTitle) : found;
}

QString TildesToLineBreaks(const QString& value)
{
    return QString(value).replace(Tilde, LineBreak);
}

QString LineBreaksToTildes(const QString& value)
{
    return QString(value).replace(LineBreak, Tilde);
}

QString ShownCodeInsertValue(const QString& value)
{
    return TrimControls(TildesToLineBreaks(value));
}

std::vector<Tci> ReadCodeInsertItems(const TIniFile& ini)
{
    const TCheckedIniReader reader(ini);
    const int count = reader.Count(CodeInsertSection, "ItemCount");
    std::vector<Tci> items;
    items.reserve(static_cast<std::size_t>(std::min(count, 1 << 16)));
    for (int n = 1; n <= count; ++n) {
        Tci item;
        item.Item = QString::fromStdString(reader.RequiredString(CodeInsertSection, Key("Item", n)));
        item.Value = QString::fromStdString(reader.RequiredString(CodeInsertSection, Key("Value", n)));
        items.push_back(std::move(item));
    }
    return items;
}

void WriteCodeInsertItems(TIniFile& ini, const std::vector<Tci>& items)
{
    ini.WriteInteger(CodeInsertSection, "ItemCount", static_cast<int>(items.size()));
    int n = 0;
    for (const Tci& item : items) {
        ++n;
        ini.WriteString(CodeInsertSection, Key("Item", n), item.Item.toStdString());
        ini.WriteString(CodeInsertSection, Key("Value", n), LineBreaksToTildes(item.Value).toStdString());
    }
}

bool TCodeInsertItems::Load(const std::string& fileName)
{
    try {
        Items = ReadCodeInsertItems(TIniFile(fileName));
        return true;
    } catch (const EBadSettingsFile& e) {
        ShowErrorBox(e.Message());
        return false;
    }
}

bool TCodeInsertItems::Save(const std::string& fileName) const
{
    try {
        TIniFile ini(fileName);
        WriteCodeInsertItems(ini, Items);
        ini.UpdateFile();
        return true;
    } catch (const Exception& e) {
        ShowErrorBox(e.Message());
        return false;
    }
}

QStringList TCodeInsertItems::Names() const
{
    QStringList names;
    for (const Tci& item : Items) {
        names << item.Item;
    }
    return names;
}

QStringList TCodeInsertItems::InsertValues() const
{
    QStringList values;
    for (const Tci& item : Items) {
        values << TildesToLineBreaks(item.Value);
    }
    return values;
}

QString TCodeInsertItems::GetCodeInsertValue(int index) const
{
    if (index < 0 || index >= Count()) {
        return {};
    }
    return LineBreaksToTildes(Items[static_cast<std::size_t>(index)].Value);
}

QString TCodeInsertItems::Show(int index)
{
    QString& value = Items.at(static_cast<std::size_t>(index)).Value;
    value = ShownCodeInsertValue(value);
    return value;
}

int TCodeInsertItems::Add(const QString& name)
{
    Items.push_back({name, QString()});
    return Count() - 1;
}

void TCodeInsertItems::Remove(int index)
{
    Items.erase(Items.begin() + index);
}
