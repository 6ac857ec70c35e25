#pragma once
// The main settings file is opened for each operation and released after it; nothing
// keeps it open.

#include "app/shell/AppPaths.h"

#include "platform/core/files/IniFile.h"

inline TIniFile OpenMainSettings()
{
    return TIniFile(MainSettingsFileName().toStdString());
}

// Opens the file, lets `change` write to it and writes it back; raises a file error
// naming the file when it cannot be written.
template <class F>
void UpdateMainSettings(F&& change)
{
    TIniFile ini = OpenMainSettings();
    change(ini);
    ini.UpdateFile();
}
