#include "app/printing/PrintSettingsApply.h"

#include "app/settings/EditorSettings.h"

#include "editor/printing/CodeEditPrint.h"

#include <algorithm>
#include <cmath>

namespace {

void SetItems(THeaderFooter& target, bool print, const std::string& left, const std::string& center,
              const std::string& right, const TFont& font)
{
    target.Clear();
    if (!print) {
        return;
    }
    target.Add(QString::fromStdString(left), &font, taLeftJustify, 1);
    target.Add(QString::fromStdString(center), &font, taCenter, 1);
    target.Add(QString::fromStdString(right), &font, taRightJustify, 1);
}

} // namespace

void ApplyPrintSettings(const TPrintSettings& settings, TCodeEditPrint& engine)
{
    TFont font;
    font.Assign(&engine.Font());
    font.SetSize(8);
    SetItems(engine.Header(), settings.PrintHeader, settings.HeaderLeft, settings.HeaderCenter, settings.HeaderRight,
             font);
    SetItems(engine.Footer(), settings.PrintFooter, settings.FooterLeft, settings.FooterCenter, settings.FooterRight,
             font);

    TCodeEditPrintMargins& margins = engine.Margins();
    margins.SetLeft(settings.MarginLeft);
    margins.SetRight(settings.MarginRight);
    margins.SetTop(settings.MarginTop);
    margins.SetBottom(settings.MarginBottom);
    margins.SetGutter(settings.MarginGutter);

    engine.Highlight = settings.SyntaxPrint;
    engine.Colors = settings.UseColors;
    engine.SetWrap(settings.WrapLines);
    engine.SetLineNumbers(settings.LineNumbers);
    engine.SetLineNumbersInMargin(settings.LineNumInMargin);
}

int RoundMargin(double margin)
{
    if (std::isnan(margin)) {
        return 0;
    }
    // The default rounding mode rounds halves to even.
    return static_cast<int>(std::nearbyint(std::clamp(margin, -1e9, 1e9)));
}
