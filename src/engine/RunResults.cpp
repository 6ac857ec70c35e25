#include "engine/RunResults.h"

#include "engine/Move.h"
#include "engine/calcul/Calcul.h"

void ResetForResults(TMove& move, TCalcul& calcul, const std::string& fileName)
{
    move.Reset();
    move.SetPosition(TVector{0.0f, 0.0f, 0.0f, 0.0f});
    move.PartFiles().Reset();
    move.Clamps().Free();
    move.SetFileName(fileName);
    move.StartRun();
    move.CountPathText();
    calcul.GetVariables().Clear();
}

std::string ResultsText(const TMove& move)
{
    // The jog text trimmed and ended by CR LF again is the jog text itself (it begins
    // with a number and ends with CR LF), so both kinds go into one text, written once
    // into room of its exact size, which the results run counted node by node:
    // millions of nodes of path text are neither measured twice nor regrown and copied.
    std::string results;
    results.reserve(move.CountedPathTextBytes());
    move.GetPathText("J", results);
    move.GetPathText("M", results);
    return results;
}
