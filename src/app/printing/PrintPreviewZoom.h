#pragma once
// The print preview's zoom by mouse: a left click zooms in (from the whole page to 100
// percent, else twice the percentage, at most 400), any other button zooms out (half
// the percentage, at least 25).

class TCodeEditPrintPreview;

void PreviewMouseZoom(TCodeEditPrintPreview& preview, bool leftButton);
