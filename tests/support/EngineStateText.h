#pragma once
// The engine's state beside its path and variables, as text, for tests that compare a
// stepped run with a fresh one: every system-variable record (its set flag and all
// three fields, a float by its bits), the VB values and the clamp boxes. Two states
// are equal when their texts are, and a difference shows as the lines that differ.

#include "engine/Clamps.h"
#include "engine/Move.h"
#include "engine/SystemVars.h"
#include "scene/objects/shapes/Cubes.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>

namespace enginestate {

inline std::string FloatText(float value)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.9g (%08x)", static_cast<double>(value), std::bit_cast<std::uint32_t>(value));
    return buf;
}

// One line per record that is not as a fresh table has it (unset, every field zero).
inline std::string SysVarsText(const TSystemVarArray& vars)
{
    std::string text;
    for (int n = TSystemVarArray::Low; n <= TSystemVarArray::High; ++n) {
        const TSystemVar& v = vars.Entry(n);
        if (!v.IsSet && v.IntValue == 0 && std::bit_cast<std::uint32_t>(v.FloatValue) == 0 && v.StrValue.empty()) {
            continue;
        }
        text += "%(" + std::to_string(n) + (v.IsSet ? ") set" : ") unset") + " int " + std::to_string(v.IntValue)
            + " float " + FloatText(v.FloatValue) + " str \"" + v.StrValue + "\"\n";
    }
    return text;
}

inline std::string VBText(const TMove::TVBValues& vb)
{
    return "VB " + FloatText(vb.V1) + " " + FloatText(vb.V2) + " " + FloatText(vb.V3) + " " + FloatText(vb.V4) + " "
        + std::to_string(vb.V5) + " " + std::to_string(vb.V6) + " " + FloatText(vb.V7) + "\n";
}

// One line per clamp, in the list's order: its hint, place, size and warning flag.
inline std::string ClampsText(const TClampList& clamps)
{
    std::string text;
    for (const TClampRec& clamp : clamps.Items()) {
        const TGLCube& box = *clamp.Cube;
        const TVector p = box.Position().AsVector();
        text += "[" + box.Hint() + "] at " + FloatText(p.X) + ", " + FloatText(p.Y) + ", " + FloatText(p.Z) + " size "
            + FloatText(box.CubeWidth()) + ", " + FloatText(box.CubeHeight()) + ", " + FloatText(box.CubeDepth())
            + (clamp.WarningSuppressed ? " quiet\n" : "\n");
    }
    return text;
}

// All three, as one text.
inline std::string SettingsText(TMove& move, const TSystemVarArray& vars)
{
    return SysVarsText(vars) + VBText(move.VBValues()) + ClampsText(move.Clamps());
}

} // namespace enginestate
