#pragma once
// The print settings onto the print engine: what the print settings page applies after
// each save and the editor pages before every print and preview.

class TCodeEditPrint;
struct TPrintSettings;

// The header and the footer get the three texts on their line 1 (left, centred, right;
// empty ones too) in the engine's font at size 8 when they are to be printed, else no
// item at all; the five margins and the five options follow the settings.
void ApplyPrintSettings(const TPrintSettings& settings, TCodeEditPrint& engine);

// A stored margin as the page shows it: the nearest whole number, halves to the even one
// (12.5 gives 12, 13.5 gives 14); a value beyond any margin is held to +-1e9.
int RoundMargin(double margin);
