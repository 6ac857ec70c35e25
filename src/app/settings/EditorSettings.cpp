#include "app/settings/EditorSettings.h"

#include "app/settings/MainSettingsFile.h"
#include "app/settings/SettingsFields.h"

#include <algorithm>

namespace {

// "MainColor" comes first, then the font's three keys, then these.
const TSettingField<TEditorSettings> EditorFieldsAfterFont[] = {
    {"SelectedBG", &TEditorSettings::SelectedBG},
    {"SelectedFG", &TEditorSettings::SelectedFG},
    {"SmartTabs", &TEditorSettings::SmartTabs},
    {"AutoIndent", &TEditorSettings::AutoIndent},
    {"TabWidth", &TEditorSettings::TabWidth},
    {"GutterColor", &TEditorSettings::GutterColor},
    {"GutterVisible", &TEditorSettings::GutterVisible},
    {"GutterLineNumbers", &TEditorSettings::GutterLineNumbers},
    {"DefNewFile", &TEditorSettings::DefNewFile},
    {"EdMinW", &TEditorSettings::EdMinW},
    {"PrevMinW", &TEditorSettings::PrevMinW},
};

const TSettingField<TPrintSettings> PrintFields[] = {
    {"PrintHeader", &TPrintSettings::PrintHeader},   {"HeaderLeft", &TPrintSettings::HeaderLeft},
    {"HeaderCenter", &TPrintSettings::HeaderCenter}, {"HeaderRight", &TPrintSettings::HeaderRight},
    {"PrintFooter", &TPrintSettings::PrintFooter},   {"FooterLeft", &TPrintSettings::FooterLeft},
    {"FooterCenter", &TPrintSettings::FooterCenter}, {"FooterRight", &TPrintSettings::FooterRight},
    {"MarginLeft", &TPrintSettings::MarginLeft},     {"MarginRight", &TPrintSettings::MarginRight},
    {"MarginTop", &TPrintSettings::MarginTop},       {"MarginBottom", &TPrintSettings::MarginBottom},
    {"MarginGutter", &TPrintSettings::MarginGutter}, {"SyntaxPrint", &TPrintSettings::SyntaxPrint},
    {"UseColors", &TPrintSettings::UseColors},       {"WrapLines", &TPrintSettings::WrapLines},
    {"LineNumbers", &TPrintSettings::LineNumbers},   {"LineNumInMargin", &TPrintSettings::LineNumInMargin},
};

} // namespace

TEditorSettings::TEditorSettings()
{
    Font.SetName("Courier New");
    Font.SetSize(10);
    Font.SetColor(clWindowText);
}

void TEditorSettings::Assign(const TEditorSettings& source)
{
    MainColor = source.MainColor;
    Font.Assign(&source.Font);
    SelectedFG = source.SelectedFG;
    SelectedBG = source.SelectedBG;
    SmartTabs = source.SmartTabs;
    AutoIndent = source.AutoIndent;
    TabWidth = source.TabWidth;
    GutterColor = source.GutterColor;
    GutterVisible = source.GutterVisible;
    GutterLineNumbers = source.GutterLineNumbers;
    DefNewFile = source.DefNewFile;
    EdMinW = source.EdMinW;
    PrevMinW = source.PrevMinW;
}

void TEditorSettings::Load(const TIniFile& ini)
{
    const TEditorSettings defaults;
    const TFontStyles style = Font.Style();
    Assign(defaults);
    Font.SetStyle(style);
    MainColor = ini.ReadInteger(EditorSection, "MainColor", MainColor);
    Font.SetName(ini.ReadString(EditorSection, "FontName", Font.Name()));
    Font.SetColor(ini.ReadInteger(EditorSection, "FontColor", Font.Color()));
    Font.SetSize(ini.ReadInteger(EditorSection, "FontSize", Font.Size()));
    ReadSettingFields(ini, EditorSection, EditorFieldsAfterFont, *this);
    // The main window cannot narrow a side below nothing.
    EdMinW = std::max(0, EdMinW);
    PrevMinW = std::max(0, PrevMinW);
}

void TEditorSettings::Save(TIniFile& ini) const
{
    ini.WriteInteger(EditorSection, "MainColor", MainColor);
    ini.WriteString(EditorSection, "FontName", Font.Name());
    ini.WriteInteger(EditorSection, "FontColor", Font.Color());
    ini.WriteInteger(EditorSection, "FontSize", Font.Size());
    WriteSettingFields(ini, EditorSection, EditorFieldsAfterFont, *this);
}

void TEditorSettings::Load()
{
    Load(OpenMainSettings());
}

void TEditorSettings::Save() const
{
    UpdateMainSettings([this](TIniFile& ini) { Save(ini); });
}

void TPrintSettings::Load(const TIniFile& ini)
{
    *this = TPrintSettings{};
    ReadSettingFields(ini, PrintSettingsSection, PrintFields, *this);
}

void TPrintSettings::Save(TIniFile& ini) const
{
    WriteSettingFields(ini, PrintSettingsSection, PrintFields, *this);
}

void TPrintSettings::Load()
{
    Load(OpenMainSettings());
}

void TPrintSettings::Save() const
{
    UpdateMainSettings([this](TIniFile& ini) { Save(ini); });
}
