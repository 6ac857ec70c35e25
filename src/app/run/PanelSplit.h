#pragma once
// How a window shares its width between its main side and a side panel: the main
// window's editor pages and its preview, the plug-in window's page and its buffer.
//
// Two buttons share the main window between the editor and the preview. "Enlarge
// Preview" first narrows the editor to its minimum width, and a second press folds it
// away down to the width of the button bar; "Enlarge Editor" does the same to the
// preview. The widths move in steps of 50, as the panels did when dragged by hand;
// the window's width does not change.

struct TPanelWidths {
    int Side = 0;  // the editor pages, or the plug-in window's page
    int Panel = 0; // the preview, or the plug-in window's buffer
    bool operator==(const TPanelWidths&) const = default;
};

// The split of `total` pixels that shows a panel stored `wanted` pixels wide, whatever
// integer was stored: no narrower than `leastPanel` (what its controls need), no wider
// than leaves `leastSide` to the side. A window too narrow for both least widths gives
// each the same share of its own least width, so neither folds away.
TPanelWidths FitPanel(int total, int wanted, int leastPanel, int leastSide);

// The width to keep for the next start of a panel `shown` pixels wide in `total`: as it
// shows, but no narrower than `leastPanel` and no wider than leaves `leastSide` to the
// side. A side narrower than its least was folded (or squeezed) for this session only,
// so the next start shows both sides whole again.
int KeptPanelWidth(int total, int shown, int leastPanel, int leastSide);

// The user's buttons. `minEditor` and `minPreview` below 1 stand for the settings'
// defaults.
TPanelWidths EnlargePreview(TPanelWidths widths, int minEditor, int barWidth);
TPanelWidths EnlargeEditor(TPanelWidths widths, int minEditor, int minPreview, int barWidth);
