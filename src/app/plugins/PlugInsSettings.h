#pragma once
// The plug-in window's part of the main settings file: its bounds and buffer width in
// [PlugInsWin], the recent plug-ins in [MRU_pg_Files] as MRU_pg_File1 (the newest) to
// MRU_pg_File10.

#include "app/shell/WindowBounds.h"

class TIniFile;
class TRecentFiles;

inline constexpr const char* PlugInsWinSection = "PlugInsWin";
inline constexpr const char* PlugInsMRUSection = "MRU_pg_Files";

struct TPlugInsWinSettings : TWindowBounds {
    int PanelGLWidth = 50;

    void Load(const TIniFile& ini);
    void Save(TIniFile& ini) const;
};

// Adds the stored entries, the oldest first, each to the top of `list`: the list then
// holds them in their stored order before what it held. Empty entries are skipped.
void ReadPlugInMRU(const TIniFile& ini, TRecentFiles& list);
// Entry i - 1 of the list under MRU_pg_File<i>; the key of an empty entry is deleted.
void WritePlugInMRU(TIniFile& ini, const TRecentFiles& list);
