#pragma once
// The paths the preview benchmarks draw through the engine's node handlers, as a run
// leaves them: one long cut, the same coming from 1E20, a jog and a cut of two nodes each
// per hole of a drilling job, or short cuts of three nodes each, every one a polyline of
// its own in one style.

#include "engine/Move.h"

enum class TPathKind { OneCut, OneCutFromFar, JogCutPairs, ShortCuts };

// `nodes` nodes in all: the long cut along y 1 from x 0 in steps of a millionth (the
// counting loop's "M2, &i / 1000000, 1"), after a node at 1E20 or not; the holes and the
// short cuts over a grid on the table.
inline void DrawBenchPath(TMove& move, TPathKind kind, int nodes)
{
    move.Reset();
    move.SetJogsVisible(true);
    switch (kind) {
    case TPathKind::OneCut:
    case TPathKind::OneCutFromFar:
        if (kind == TPathKind::OneCutFromFar) {
            // From 1E20: every frame tests the segments it draws, and clips that one.
            move.AddMoveNode(true, false, 1e20f, 1e20f, 0);
        }
        for (int i = 0; i < nodes; ++i) {
            move.AddMoveNode(true, false, static_cast<float>(i) / 1e6f, 1, 0);
        }
        return;
    case TPathKind::JogCutPairs: {
        float x = 0;
        float y = 0;
        float z = 0;
        for (int hole = 0; hole < nodes / 4; ++hole) {
            move.AddJogNode(false, true, x, y, z);
            x = 1 + static_cast<float>(hole % 900) * 0.1f;
            y = 1 + static_cast<float>(hole / 900 % 450) * 0.1f;
            move.AddJogNode(true, false, x, y, 0.5f);
            z = -0.25f;
            move.AddMoveNode(true, true, x, y, z);
        }
        return;
    }
    case TPathKind::ShortCuts:
        // Each cut starts where the last ended, as a new polyline: the tool's node, then two.
        for (int cut = 0; cut < nodes / 3; ++cut) {
            const float x = 1 + static_cast<float>(cut % 900) * 0.1f;
            const float y = 1 + static_cast<float>(cut / 900 % 450) * 0.1f;
            move.AddMoveNode(true, true, x, y, -0.25f);
            move.AddMoveNode(true, false, x + 0.05f, y + 0.05f, -0.25f);
        }
        return;
    }
}
