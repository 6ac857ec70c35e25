#pragma once
// Section "Main" of the main settings file as a plain record: what the main window
// applies at start-up and hands back at shut-down. The record holds only values the
// window's controls can take: the animation speed 0..200, the navigation speed 1..500,
// the preview width at least 0. The window's bounds come first, as in the file.

#include "app/shell/WindowBounds.h"

#include <string>

class TIniFile;

// The main window's own size, frame included: what a start without its bounds begins
// with (the settings file that ships says the same).
inline constexpr int DefaultMainWidth = 1200;
inline constexpr int DefaultMainHeight = 760;
// The preview's share of that window in the settings file that ships, which a start
// without the key begins with too.
inline constexpr int ShippedPanelGLWidth = 560;

struct TMainSettings : TWindowBounds {
    int PanelGLWidth = ShippedPanelGLWidth;
    int GLPosRotSpeed = 20;
    bool GLSimulate = true;
    bool GLJogsVisible = true;
    bool ShowWireFramebit = true;
    int GLDisplaySpeed = 50;
    bool SuppressAllMessages = true;
    bool ViewStatusbar = true;
    bool ViewVariables = true;
    // Written from the Follow Bit View box; never read (the box starts unchecked).
    bool GLFollowBit = false;

    bool operator==(const TMainSettings&) const = default;

    // The keys from "Left" to "ViewVariables", with the defaults for missing ones.
    void Read(const TIniFile& ini);
    // The keys in the file's write order, "GLFollowBit" after "GLJogsVisible".
    void Write(TIniFile& ini) const;
};

inline constexpr const char* MainSection = "Main";
inline constexpr const char* RecentFilesSection = "MRUFiles";
inline constexpr int RecentFileKeys = 10;
// "MRUFile1" .. "MRUFile10"; 1 is the newest.
std::string RecentFileKey(int n);
