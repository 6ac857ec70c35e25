#include "editor/completion/CodeCompletionPaint.h"

#include "editor/completion/CodeCompletionPrettyText.h"

#include <algorithm>
#include <vector>

namespace {

std::u16string_view View(const QString& text)
{
    return std::u16string_view(reinterpret_cast<const char16_t*>(text.constData()),
                               static_cast<std::size_t>(text.size()));
}

// Text with its top (not its baseline) at y.
void TextAtTop(TCanvas& canvas, int x, int y, const QString& text)
{
    canvas.TextOut(x, y + canvas.TextMetrics().ascent, View(text));
}

void FrameRect(TCanvas& canvas, const TRect& r, TColor color)
{
    canvas.SetPenColor(color);
    const TPoint points[] = {{r.Left, r.Top}, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1},
                             {r.Left, r.Top}};
    canvas.Polyline(points);
}

// A raised one-pixel bevel: highlight on the top and left, shadow on the bottom and right.
void RaisedBevel(TCanvas& canvas, const TRect& r)
{
    canvas.SetPenColor(clBtnHighlight);
    const TPoint light[] = {{r.Left, r.Bottom - 1}, {r.Left, r.Top}, {r.Right - 1, r.Top}};
    canvas.Polyline(light);
    canvas.SetPenColor(clBtnShadow);
    const TPoint dark[] = {{r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left - 1, r.Bottom - 1}};
    canvas.Polyline(dark);
}

void PaintTitle(TCodeBaseCompletionProposalForm& form, TCanvas& canvas, int width)
{
    const TRect bar = Rect(1, 1, width - 1, form.TitleBarHeight() + 1);
    canvas.FillRect(bar, form.ClTitleBackground);
    RaisedBevel(canvas, bar);
    canvas.SetFont(form.TitleFont());
    int x = 2;
    if (form.CenterTitle()) {
        x = std::max(2, (width - canvas.TextWidth(View(form.Title()))) / 2);
    }
    TextAtTop(canvas, x, 2, form.Title());
}

void PaintRows(TCodeBaseCompletionProposalForm& form, TCanvas& canvas)
{
    const TCompletionLayout& layout = form.Layout();
    const int top = form.TitleBarHeight() + 1;
    const TRect area = Rect(1, top, 1 + layout.bitmapWidth, top + layout.bitmapHeight);
    TCanvasSaver saver(canvas);
    canvas.IntersectClipRect(area);
    canvas.FillRect(area, form.ClBackground);
    const QStringList& items = form.ItemList();
    const int rows = std::min(form.LinesInWindow(), static_cast<int>(items.size()) - form.ScrollPosition());
    canvas.SetFont(form.Font());
    const int biggest = canvas.TextWidth(View(form.BiggestWord));
    for (int i = 0; i < rows; ++i) {
        const int index = form.ScrollPosition() + i;
        const TRect row = Rect(area.Left, top + form.ItemHeight() * i, area.Right, top + form.ItemHeight() * (i + 1));
        const bool selected = index == form.Position();
        canvas.SetFont(form.Font());
        if (selected) {
            canvas.FillRect(row, form.ClSelect);
            canvas.SetTextColor(form.ClSelectedText);
        }
        bool customDraw = false;
        if (form.OnPaintItem) {
            form.OnPaintItem(index, canvas, row, customDraw);
        }
        if (customDraw) {
            continue;
        }
        if (form.UsePrettyText()) {
            PaintPrettyText(canvas, row.Left + 1, row.Top, selected, biggest, true, items[index]);
        } else {
            TextAtTop(canvas, row.Left + 2, row.Top, items[index]);
        }
    }
}

void PaintHint(TCodeBaseCompletionProposalForm& form, TCanvas& canvas, int width, int height)
{
    const TRect area = Rect(1, 1, width - 1, height - 1);
    TCanvasSaver saver(canvas);
    canvas.IntersectClipRect(area);
    canvas.FillRect(area, form.ClBackground);
    canvas.SetFont(form.Font());
    const QStringList& items = form.ItemList();
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QString text =
            form.Kind() == ctParams ? MarkCurrentParameter(items[i], form.CurrentIndex()) : items[i];
        PaintPrettyText(canvas, area.Left + 3, area.Top + form.ItemHeight() * static_cast<int>(i) + 1, false, 0,
                        false, text);
    }
}

} // namespace

void PaintPrettyText(TCanvas& canvas, int x, int y, bool highlighted, int biggestWordWidth, bool align,
                     const QString& text)
{
    TCanvasSaver saver(canvas);
    const TCanvasFont base = canvas.Font();
    const TColor baseColor = canvas.TextColor();
    const auto useStyle = [&canvas, &base](TFontStyles style) {
        TCanvasFont font = base;
        font.style = style;
        canvas.SetFont(font);
    };
    const auto measure = [&](TFontStyles style, const QString& c) {
        useStyle(style);
        return canvas.TextWidth(View(c));
    };
    std::vector<int> advances;
    for (const TPrettyRun& run : LayoutPrettyText(text, x, highlighted, biggestWordWidth, align, measure)) {
        useStyle(run.style);
        canvas.SetTextColor(run.colored ? run.color : baseColor);
        // One character at a time, each by its own width.
        advances.clear();
        for (QChar c : run.text) {
            advances.push_back(canvas.TextWidth(View(QString(c))));
        }
        canvas.ExtTextOut(run.x, y + canvas.TextMetrics().ascent, 0, nullptr, View(run.text), advances.data());
    }
}

void PaintCompletionPopup(TCodeBaseCompletionProposalForm& form, TCanvas& canvas, int width, int height)
{
    FrameRect(canvas, Rect(0, 0, width, height), clBlack);
    if (form.Kind() != ctCode) {
        PaintHint(form, canvas, width, height);
        return;
    }
    PaintRows(form, canvas);
    if (!form.Title().isEmpty()) {
        PaintTitle(form, canvas, width);
    }
}
