// TMove: the cut and jog polylines, the node handlers, step back and the path
// readers. The polylines belong to TMove and are drawn under the lines parent; the
// shell frees TMove before its scene.

#include "engine/EngineData.h"
#include "engine/EngineErrors.h"
#include "engine/Move.h"
#include "engine/calcul/Calcul.h"
#include "engine/PathText.h"
#include "engine/ShellServices.h"
#include "platform/core/services/FreedMemory.h"
#include "platform/core/text/NumberFormat.h"
#include "scene/objects/lines/LineBatches.h"
#include "scene/objects/lines/Lines.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace {
bool SamePoint(const TAffineVector& node, const TAffineVector& p)
{
    return node.X == p.X && node.Y == p.Y && node.Z == p.Z;
}
} // namespace

// The polylines are read through their bare points: asking for a node collection would
// make one object per node.

int TMove::LastNodeCount(const TGLLinesArray& lines)
{
    return lines.empty() ? 0 : lines.back()->NodeCount();
}

bool TMove::ToolIsAtEnd(const TGLLinesArray& lines, const TAffineVector& tool)
{
    if (lines.empty() || lines.back()->NodeCount() == 0) {
        return false;
    }
    const TGLLines* line = lines.back();
    return SamePoint(line->NodePoint(line->NodeCount() - 1), tool);
}

std::size_t TMove::PolylineBytes(const TGLLines& line) const
{
    return line.MemoryBytes() + TLineBatches::BytesPerStrip
        + TLineBatches::BytesPerPoint * static_cast<std::size_t>(line.NodeCount());
}

std::size_t TMove::PreviewBytes() const
{
    // The lists count at twice their size: the most their next growth reaches.
    const std::size_t lists = FUndo.size() * sizeof(std::uint32_t) + FFullUndo.size() * sizeof(TLineUndo)
        + FZeroUndo.size() * sizeof(TZeroUndo)
        + FPartFiles.History().size() * sizeof(int) + (FCutLines.size() + FJogLines.size()) * sizeof(TGLLines*);
    // The variables' record counts what it holds, the GOSUB stack's changes included (and
    // stays within a bound of its own).
    return FPathBytes + 2 * lists + FCalcul.GetVariables().UndoBytes()
        + static_cast<std::size_t>(FClamps.Count()) * TClampList::BytesPerClamp + CountedPathTextBytes();
}

void TMove::CheckPreviewBytes(std::size_t growth) const
{
    // Room is kept for the history record of the line being executed, which comes
    // after its nodes.
    if (PreviewBytes() + growth + LineRecordBytes > MaxPreviewBytes) {
        throw ERunError("The preview holds more than " + std::to_string(MaxPreviewBytes / 1000000) + " MB.");
    }
}

std::size_t TMove::PolylineTextBytes(const TGLLines& line)
{
    std::size_t bytes = 0;
    const int nodes = line.NodeCount();
    for (int i = 0; i < nodes; ++i) {
        const TAffineVector v = line.NodePoint(i);
        bytes += PointLineLength(v.X, v.Y, v.Z);
    }
    return bytes;
}

void TMove::DeletePolyline(TGLLinesArray& lines)
{
    TGLLines* line = lines.back();
    if (FCountPathText) {
        std::size_t& text = FPathTextBytes[TextCountOf(lines)];
        text -= std::min(text, PolylineTextBytes(*line));
    }
    FPathNodes -= static_cast<std::size_t>(line->NodeCount());
    FPathBytes -= std::min(FPathBytes, PolylineBytes(*line));
    delete line;
    lines.pop_back();
}

void TMove::DeleteLastNode(TGLLinesArray& lines)
{
    TGLLines& line = *lines.back();
    if (FCountPathText && line.NodeCount() > 0) {
        const TAffineVector v = line.NodePoint(line.NodeCount() - 1);
        std::size_t& text = FPathTextBytes[TextCountOf(lines)];
        text -= std::min(text, PointLineLength(v.X, v.Y, v.Z));
    }
    const std::size_t before = PolylineBytes(line);
    line.DeleteLastNode();
    --FPathNodes;
    FPathBytes = FPathBytes + PolylineBytes(line) - std::min(FPathBytes, before);
}

TGLLines* TMove::NewPolyline(bool jog)
{
    TGLLinesArray& lines = jog ? FJogLines : FCutLines;
    if (!lines.empty()) {
        // The last polyline of this kind is finished: its spare room goes back.
        TGLLines& last = *lines.back();
        const std::size_t before = PolylineBytes(last);
        last.CompactNodes();
        FPathBytes = FPathBytes + PolylineBytes(last) - std::min(FPathBytes, before);
    }
    auto* line = new TGLLines(nullptr);
    line->SetNodesAspect(lnaInvisible);
    line->SetLineColor(jog ? FJogColor : FMoveColor);
    if (jog ? FJogDashed : FMoveDashed) {
        line->SetLinePattern(0x8888);
    }
    if (jog) {
        line->SetLineWidth(0.5f);
    }
    if (FLinesParent) {
        FLinesParent->AddChild(line);
    }
    if (jog) {
        line->SetVisible(FJogsVisible);
    }
    lines.push_back(line);
    FPathBytes += PolylineBytes(*line);
    FNewPolyline = false;
    return line;
}

void TMove::AddNode(bool jog, bool setCurPos, bool newLine, float x, float y, float z)
{
    // A finite target may still leave the range in the scene (zero offsets, a sub-file's
    // offset and scale), and a shape's points are computed here only.
    CheckInRange(x, y, z);
    if (FPathNodes >= MaxPathNodes) {
        throw ERunError("The preview holds more than " + std::to_string(MaxPathNodes) + " points.");
    }
    TGLLinesArray& lines = jog ? FJogLines : FCutLines;
    // A polyline to append to always exists: without one the node starts it.
    newLine = newLine || lines.empty();
    // A new polyline's first node is inline: only the polyline itself grows the preview.
    const std::size_t growth = newLine ? 0 : lines.back()->NodeGrowthBytes();
    const std::size_t text = FCountPathText ? PointLineLength(x, y, z) : 0;
    CheckPreviewBytes(TLineBatches::BytesPerPoint + text
                      + (newLine ? sizeof(TGLLines) + TLineBatches::BytesPerStrip + 2 * sizeof(TGLLines*) : growth));
    TGLLines* line = newLine ? NewPolyline(jog) : lines.back();
    line->AddNode(x, y, z);
    ++FPathNodes;
    FPathBytes += growth + TLineBatches::BytesPerPoint;
    FPathTextBytes[jog ? 1 : 0] += text;
    FTool = {x, y, z};
    if (setCurPos) {
        FPos = {x, y, z, 0.0f};
    }
}

void TMove::AddMoveNode(bool setCurPos, bool newLine, float x, float y, float z)
{
    const TAffineVector tool = FTool;
    // Every new cut polyline starts where the tool is, so no travel goes undrawn.
    if (newLine && !(FTool.X == x && FTool.Y == y && FTool.Z == z)) {
        AddNode(false, false, true, FTool.X, FTool.Y, FTool.Z);
        newLine = false;
    }
    AddNode(false, setCurPos, newLine, x, y, z);
    PlaceToolAfterNode(setCurPos, tool);
}

void TMove::AddJogNode(bool setCurPos, bool newLine, float x, float y, float z)
{
    const TAffineVector tool = FTool;
    AddNode(true, setCurPos, newLine, x, y, z);
    PlaceToolAfterNode(setCurPos, tool);
}

void TMove::PlaceToolAfterNode(bool setCurPos, const TAffineVector& toolBefore)
{
    // A shape keeps the position itself and its points are the tool's way.
    if (FShapeGoing) {
        return;
    }
    // A plug-in's node only draws, unless it moved the position: the animated bit must
    // not leave the position that GetCurPos reports.
    if (setCurPos) {
        TVector scene;
        GetScenePosition(scene);
        FTool = {scene.X, scene.Y, scene.Z};
    } else {
        FTool = toolBefore;
    }
}

void TMove::AddPathNode(char kind)
{
    const bool jog = kind == 'J';
    const TGLLinesArray& lines = jog ? FJogLines : FCutLines;
    bool newLine = FNewPolyline || lines.empty() || !ToolIsAtEnd(lines, FTool);
    if (!jog && !FPrevCmdWord.empty()) {
        const char first = FPrevCmdWord[0];
        newLine = newLine || first == 'C' || first == 'J';
    }
    TVector scene;
    GetScenePosition(scene);
    if (newLine) {
        AddNode(jog, false, true, FTool.X, FTool.Y, FTool.Z);
    }
    AddNode(jog, false, false, scene.X, scene.Y, scene.Z);
    if (!FNested) {
        RecordLine(FLineIndex);
    }
    Moving = true;
}

void TMove::TruncatePolylines(TGLLinesArray& lines, std::uint32_t count, std::uint32_t nodes)
{
    while (lines.size() > count) {
        DeletePolyline(lines);
    }
    if (!lines.empty()) {
        TGLLines* last = lines.back();
        while (static_cast<std::uint32_t>(last->NodeCount()) > nodes) {
            DeleteLastNode(lines);
        }
    }
}

void TMove::FreePolylines()
{
    // Everything goes, so the text count starts again at 0 without a walk over the
    // nodes (a results run's million nodes are not counted a second time here).
    const bool counting = std::exchange(FCountPathText, false);
    // Newest first, whichever its kind: each then leaves the end of the parent's
    // children, where it is found at once (all cuts first made freeing a drilling job's
    // 500,000 polylines take minutes).
    while (!FCutLines.empty() || !FJogLines.empty()) {
        const bool jogNewer = !FJogLines.empty() &&
            (FCutLines.empty() || (FLinesParent && FLinesParent->Count() > 0 &&
                                   FLinesParent->Children(FLinesParent->Count() - 1) == FJogLines.back()));
        DeletePolyline(jogNewer ? FJogLines : FCutLines);
    }
    FCutLines.shrink_to_fit();
    FJogLines.shrink_to_fit();
    FCountPathText = counting;
    FPathTextBytes[0] = 0;
    FPathTextBytes[1] = 0;
}

void TMove::SetJogsVisible(bool visible)
{
    FJogsVisible = visible;
    for (TGLLines* line : FJogLines) {
        line->SetVisible(visible);
    }
}

void TMove::SetPathColors(const TVector& moveColor, const TVector& jogColor)
{
    FMoveColor = moveColor;
    FJogColor = jogColor;
}

void TMove::SetPathDashed(bool moveDashed, bool jogDashed)
{
    FMoveDashed = moveDashed;
    FJogDashed = jogDashed;
}

void TMove::Reset()
{
    const bool large = PreviewBytes() >= LargePreviewBytes;
    FreePolylines();
    FZero = {0.0f, 0.0f, 0.0f, 0.0f};
    FCmdWord.clear();
    FPrevCmdWord.clear();
    FLineNumber = 0;
    FPrevLineNumber = 0;
    FNewPolyline = false;
    // Freed, not kept: a run of a million lines leaves a large history behind.
    std::vector<std::uint32_t>().swap(FUndo);
    std::vector<TLineUndo>().swap(FFullUndo);
    std::vector<TZeroUndo>().swap(FZeroUndo);
    TVector scene;
    GetScenePosition(scene);
    FTool = {scene.X, scene.Y, scene.Z};
    if (large) {
        // Millions of small blocks freed in the middle of the heap stay with the process
        // until handed back.
        ReturnFreedMemoryToSystem();
    }
}

bool TMove::GetExtents(float& maxX, float& minX, float& maxY, float& minY) const
{
    maxX = maxY = -3.4e38f;
    minX = minY = 3.4e38f;
    bool any = false;
    for (const TGLLines* line : FCutLines) {
        const int count = line->NodeCount();
        for (int i = 0; i < count; ++i) {
            const TAffineVector v = line->NodePoint(i);
            maxX = std::max(maxX, v.X);
            minX = std::min(minX, v.X);
            maxY = std::max(maxY, v.Y);
            minY = std::min(minY, v.Y);
            any = true;
        }
    }
    return any;
}

double TMove::GetLastHeading() const
{
    if (FCutLines.empty() || FCutLines.back()->NodeCount() < 2) {
        return 0.0;
    }
    const TGLLines* line = FCutLines.back();
    const TAffineVector last = line->NodePoint(line->NodeCount() - 1);
    const TAffineVector prev = line->NodePoint(line->NodeCount() - 2);
    return std::atan2(double(prev.Y) - last.Y, double(prev.X) - last.X) * 180.0 / std::numbers::pi;
}

const TGLLinesArray* TMove::PathLines(std::string_view kind) const
{
    // Trimmed as Trim does: every character up to the space goes.
    while (!kind.empty() && static_cast<unsigned char>(kind.front()) <= ' ') {
        kind.remove_prefix(1);
    }
    while (!kind.empty() && static_cast<unsigned char>(kind.back()) <= ' ') {
        kind.remove_suffix(1);
    }
    if (kind.size() != 1) {
        return nullptr;
    }
    const char k = static_cast<char>(kind[0] & ~0x20);
    return k == 'J' ? &FJogLines : k == 'M' ? &FCutLines : nullptr;
}

std::size_t TMove::PathTextLength(std::string_view kind) const
{
    std::size_t bytes = 0;
    if (const TGLLinesArray* lines = PathLines(kind)) {
        for (const TGLLines* line : *lines) {
            bytes += PolylineTextBytes(*line);
        }
    }
    return bytes;
}

void TMove::GetPathText(std::string_view kind, std::string& text) const
{
    const TGLLinesArray* lines = PathLines(kind);
    if (lines == nullptr) {
        return;
    }
    text.reserve(text.size() + (FCountPathText ? FPathTextBytes[TextCountOf(*lines)] : PathTextLength(kind)));
    for (const TGLLines* line : *lines) {
        const int nodes = line->NodeCount();
        for (int i = 0; i < nodes; ++i) {
            const TAffineVector v = line->NodePoint(i);
            AppendPointLine(text, v.X, v.Y, v.Z);
        }
    }
}
