#include "app/run/PanelSplit.h"

#include "app/settings/EditorSettings.h"

#include <algorithm>

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

TPanelWidths FitPanel(int total, int wanted, int minPanel, int minOther)
{
    total = std::max(total, 0);
    const int panel = std::max(std::min(wanted, total - minOther), minPanel);
    return {std::max(total - panel, 0), panel};
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
