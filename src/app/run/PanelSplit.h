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

// The split of `total` pixels that shows a side panel stored `wanted` pixels wide (the
// preview, or the plug-in window's buffer; the other side is `Side`): no narrower than
// `minPanel`, no wider than leaves `minOther` to the other side, whatever integer was
// stored. Where the window cannot hold both least widths the panel's wins.
TPanelWidths FitPanel(int total, int wanted, int minPanel, int minOther);

// `minEditor` and `minPreview` below 1 stand for the settings' defaults.
TPanelWidths EnlargePreview(TPanelWidths widths, int minEditor, int barWidth);
TPanelWidths EnlargeEditor(TPanelWidths widths, int minEditor, int minPreview, int barWidth);
