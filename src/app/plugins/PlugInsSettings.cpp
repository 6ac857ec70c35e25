#include "app/plugins/PlugInsSettings.h"

#include "app/shell/RecentFiles.h"

#include "platform/core/files/IniFile.h"

#include <string>

namespace {
std::string MRUKey(int number)
{
    return "MRU_pg_File" + std::to_string(number);
}
} // namespace

void TPlugInsWinSettings::Load(const TIniFile& ini)
{
    Left = ini.ReadInteger(PlugInsWinSection, "Left", 0);
    Top = ini.ReadInteger(PlugInsWinSection, "Top", 0);
    Width = ini.ReadInteger(PlugInsWinSection, "Width", 0);
    Height = ini.ReadInteger(PlugInsWinSection, "Height", 0);
    Maximized = ini.ReadInteger(PlugInsWinSection, "Maximized", 0);
    PanelGLWidth = ini.ReadInteger(PlugInsWinSection, "PanelGLWidth", 50);
}

void TPlugInsWinSettings::Save(TIniFile& ini) const
{
    ini.WriteInteger(PlugInsWinSection, "Left", Left);
    ini.WriteInteger(PlugInsWinSection, "Top", Top);
    ini.WriteInteger(PlugInsWinSection, "Width", Width);
    ini.WriteInteger(PlugInsWinSection, "Height", Height);
    ini.WriteInteger(PlugInsWinSection, "Maximized", Maximized);
    ini.WriteInteger(PlugInsWinSection, "PanelGLWidth", PanelGLWidth);
}

void ReadPlugInMRU(const TIniFile& ini, TRecentFiles& list)
{
    for (int number = TRecentFiles::Capacity; number >= 1; --number) {
        const std::string name = ini.ReadString(PlugInsMRUSection, MRUKey(number), "");
        if (!name.empty()) {
            list.Add(QString::fromStdString(name));
        }
    }
}

void WritePlugInMRU(TIniFile& ini, const TRecentFiles& list)
{
    for (int number = 1; number <= TRecentFiles::Capacity; ++number) {
        const QString name = list.Get(number - 1);
        if (name.isEmpty()) {
            ini.DeleteKey(PlugInsMRUSection, MRUKey(number));
        } else {
            ini.WriteString(PlugInsMRUSection, MRUKey(number), name.toStdString());
        }
    }
}
