// TMove: the command families, chosen by the first letter of the command word, each
// selecting its command by the second letter. The machine commands that a preview
// cannot apply are taken here and only logged; the simulated commands of each family
// are added by the motion, zero/value/setting, shape, clamp and sub-file code
// (MoveMotion.cpp, MoveSettings.cpp, MoveFiles.cpp).

#include "engine/Move.h"
#include "platform/core/ScopeGuard.h"

#include <string_view>

namespace {
char SecondLetter(const std::string& word)
{
    return word.size() >= 2 ? word[1] : '\0';
}

bool IsOneOf(char letter, std::string_view letters)
{
    return letter != '\0' && letters.find(letter) != std::string_view::npos;
}
} // namespace

void TMove::DoCCommands(const TArrayofCmds& cmds)
{
    // Shapes are drawn through the mapping of GetScenePosition, so they land where
    // the moves around them do.
    TShapeContext context;
    context.Position = FPos;
    const TFP& level = FPartFiles.Current();
    for (int k = 0; k < 3; ++k) {
        context.Offset[k] = level.Offset[k] + FZero[k];
        context.Scale[k] = level.Scale[k];
    }
    // While the shape reports its points, the node handlers take them as the tool's way.
    FShapeGoing = true;
    const TScopeGuard shapeEnds([this] { FShapeGoing = false; });
    // The shapes mark the line handled only for the commands they execute.
    if (FCCommands.Execute(cmds, context)) {
        FHandled = true;
    }
    SetPosition(context.Position);
}

void TMove::DoHCommands(const TArrayofCmds&)
{
    if (IsOneOf(SecondLetter(FCmdWord), "ABCENQRTUW")) {
        LogNotApplicable(FCmdWord);
    }
    FHandled = true;
}

void TMove::DoRCommands(const TArrayofCmds&)
{
    if (IsOneOf(SecondLetter(FCmdWord), "AIPRSZ")) {
        LogNotApplicable(FCmdWord);
    }
    FHandled = true;
}

void TMove::DoTCommands(const TArrayofCmds&)
{
    if (IsOneOf(SecondLetter(FCmdWord), "CDFHISTU")) {
        LogNotApplicable(FCmdWord);
    }
    FHandled = true;
}

void TMove::DoClamp(const TArrayofCmds& cmds)
{
    CheckPreviewBytes(TClampList::BytesPerClamp);
    FClamps.Add(cmds, FClampsParent, FCollisionManager);
    KeepClampUndo(FClamps.Count() - 1);
    FHandled = true;
}
