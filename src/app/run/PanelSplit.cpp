#include "app/run/PanelSplit.h"

#include "app/settings/EditorSettings.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int Step = 50;

// Moves `delta` pixels from the editor to the preview (negative: back); false when
// the step changes nothing, so no loop can stall on a panel that will not move.
bool Grow(TPanelWidths& w, int delta)
{
    const int moved = delta > 0 ? (delta < w.Side ? delta : w.Side) : (-delta < w.Panel ? delta : -w.Panel);
    w.Panel += moved;
    w.Side -= moved;
    return moved != 0;
}

int OrDefault(int value, int fallback)
{
    return value < 1 ? fallback : value;
}

} // namespace

TPanelWidths FitPanel(int total, int wanted, int leastPanel, int leastSide)
{
    // In 64 bits: the two least widths may add up beyond the int range.
    const std::int64_t room = std::max(total, 0);
    const std::int64_t panelLeast = std::max(leastPanel, 0);
    const std::int64_t sideLeast = std::max(leastSide, 0);
    std::int64_t panel = 0;
    if (room < panelLeast + sideLeast) {
        panel = room * panelLeast / (panelLeast + sideLeast);
    } else {
        panel = std::clamp<std::int64_t>(wanted, panelLeast, room - sideLeast);
    }
    return {int(room - panel), int(panel)};
}

int KeptPanelWidth(int total, int shown, int leastPanel, int leastSide)
{
    const std::int64_t widest = std::int64_t(total) - leastSide;
    return int(std::max<std::int64_t>(std::min<std::int64_t>(shown, widest), leastPanel));
}

TPanelWidths EnlargePreview(TPanelWidths w, int minEditor, int barWidth)
{
    const int minE = OrDefault(minEditor, TEditorSettings().EdMinW);
    if (w.Side == minE) {
        Grow(w, w.Side - barWidth);
        return w;
    }
    while (minE < w.Side && Grow(w, Step)) {
    }
    Grow(w, w.Side - minE);
    return w;
}

TPanelWidths EnlargeEditor(TPanelWidths w, int minEditor, int minPreview, int barWidth)
{
    const int minE = OrDefault(minEditor, TEditorSettings().EdMinW);
    const int minP = OrDefault(minPreview, TEditorSettings().PrevMinW);
    if (w.Panel == minP) {
        Grow(w, barWidth - w.Panel);
        return w;
    }
    if (minE <= w.Side) {
        while (minP < w.Panel && Grow(w, -Step)) {
        }
        Grow(w, minP - w.Panel);
        return w;
    }
    while (minE > w.Side && Grow(w, -Step)) {
    }
    Grow(w, w.Side - minE);
    return w;
}
