#include "app/settings/MainSettings.h"

#include "app/settings/SettingsFields.h"

#include <algorithm>

namespace {

// In write order; reading skips "GLFollowBit".
const TSettingField<TMainSettings> MainFields[] = {
    {"Left", &TMainSettings::Left},
    {"Top", &TMainSettings::Top},
    {"Width", &TMainSettings::Width},
    {"Height", &TMainSettings::Height},
    {"Maximized", &TMainSettings::Maximized},
    {"PanelGLWidth", &TMainSettings::PanelGLWidth},
    {"GLPosRotSpeed", &TMainSettings::GLPosRotSpeed},
    {"GLSimulate", &TMainSettings::GLSimulate},
    {"GLJogsVisible", &TMainSettings::GLJogsVisible},
    {"GLFollowBit", &TMainSettings::GLFollowBit},
    {"ShowWireFramebit", &TMainSettings::ShowWireFramebit},
    {"GLDisplaySpeed", &TMainSettings::GLDisplaySpeed},
    {"SuppressAllMessages", &TMainSettings::SuppressAllMessages},
    {"ViewStatusbar", &TMainSettings::ViewStatusbar},
    {"ViewVariables", &TMainSettings::ViewVariables},
};

} // namespace

void TMainSettings::Read(const TIniFile& ini)
{
    const bool followBit = GLFollowBit;
    *this = TMainSettings{};
    ReadSettingFields(ini, MainSection, MainFields, *this);
    GLFollowBit = followBit;
    GLDisplaySpeed = std::clamp(GLDisplaySpeed, 0, 200);
    GLPosRotSpeed = std::clamp(GLPosRotSpeed, 1, 500);
    PanelGLWidth = std::max(0, PanelGLWidth);
}

void TMainSettings::Write(TIniFile& ini) const
{
    WriteSettingFields(ini, MainSection, MainFields, *this);
}

std::string RecentFileKey(int n)
{
    return "MRUFile" + std::to_string(n);
}
