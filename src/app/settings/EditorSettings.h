#pragma once
// The editor settings (section "Editor" of the main settings file) and the print
// settings (section "PrintSettings"): plain records that the editor options dialog owns
// and applies to the editor pages and the print engine. Colours are stored as the
// signed decimal of their 32-bit value, so system colours are negative (the system
// window colour is -2147483643).

#include "platform/core/graphics/ColorValue.h"
#include "platform/core/graphics/Font.h"

#include <string>

class TIniFile;

class TEditorSettings {
public:
    TEditorSettings();
    TEditorSettings(const TEditorSettings&) = delete;
    TEditorSettings& operator=(const TEditorSettings&) = delete;
    void Assign(const TEditorSettings& source);

    TColor MainColor = clWindow;
    TFont Font; // "Courier New", 10, the system window-text colour
    TColor SelectedFG = clHighlightText;
    TColor SelectedBG = clHighlight;
    bool SmartTabs = false;
    bool AutoIndent = true;
    int TabWidth = 5;
    TColor GutterColor = clBtnFace;
    bool GutterVisible = true;
    bool GutterLineNumbers = true;
    // Index of the code insert item whose value is a new page's text; -1 for none.
    int DefNewFile = -1;
    // Widths (pixels, at least 0) to which the main window narrows the editor side and
    // the preview side when the other is enlarged.
    int EdMinW = 300;
    int PrevMinW = 100;

    // Every key, with the defaults for missing ones. "FontStyle" may stand in the file
    // (written by hand); it changes nothing and is never written.
    void Load(const TIniFile& ini);
    // Fifteen keys, in the order the file has always had them.
    void Save(TIniFile& ini) const;
    // The same against the main settings file; Save raises a file error (EStreamError)
    // naming the file when it cannot be written.
    void Load();
    void Save() const;
};

struct TPrintSettings {
    bool PrintHeader = true;
    std::string HeaderLeft = "$TITLE$";
    std::string HeaderCenter;
    std::string HeaderRight = "$PAGENUM$/$PAGECOUNT$";
    bool PrintFooter = true;
    std::string FooterLeft = "$DATE$ $TIME$";
    std::string FooterCenter;
    std::string FooterRight = "Kerfpad";
    double MarginLeft = 20.0;
    double MarginRight = 20.0;
    double MarginTop = 20.0;
    double MarginBottom = 20.0;
    double MarginGutter = 0.0;
    bool SyntaxPrint = true;
    bool UseColors = true;
    bool WrapLines = true;
    bool LineNumbers = false;
    bool LineNumInMargin = true;

    void Load(const TIniFile& ini);
    void Save(TIniFile& ini) const;
    void Load();
    void Save() const;
};

inline constexpr const char* EditorSection = "Editor";
inline constexpr const char* PrintSettingsSection = "PrintSettings";
