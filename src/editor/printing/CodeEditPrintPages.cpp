// The print engine's preparation, pagination and page output.

#include "editor/printing/CodeEditPrint.h"

#include "editor/highlighting/CodeCustomHighlighter.h"
#include "platform/core/graphics/Canvas.h"

#include <algorithm>
#include <climits>

int TCodeEditPrint::HighestLineNumber() const { return lines_.Count() - 1 + LineOffset; }

void TCodeEditPrint::PreparePrint()
{
    TCanvas& canvas = *canvas_;
    fontColor_ = font_.Color();
    // Fonts measure in the printer's pixels, on the printer and on any other canvas.
    const int resolution = printerInfo_.DpiY();
    header_.SetItemResolution(resolution);
    footer_.SetItemResolution(resolution);
    font_.SetPixelsPerInch(resolution);
    canvas.SetFont(font_);
    metrics_ = canvas.TextMetrics();
    charWidth_ = metrics_.averageCharWidth;
    std::fill(advances_.begin(), advances_.end(), charWidth_);
    margins_.InitPage(canvas, 1, printerInfo_, lineNumbers_, lineNumbersInMargin_, HighestLineNumber());
    Paginate();
    header_.InitPrint(canvas, pageCount_, Title, &margins_);
    footer_.InitPrint(canvas, pageCount_, Title, &margins_);
    canHighlight_ = Highlight && highlighter_ && lines_.Count() > 0;
}

void TCodeEditPrint::ScanRanges()
{
    if (rangesValid_ || !highlighter_ || lines_.Count() == 0) {
        return;
    }
    highlighter_->ResetRange();
    lines_.PutRange(0, highlighter_->GetRange());
    for (int i = 1; i < lines_.Count(); ++i) {
        highlighter_->SetLine(lines_.Record(i - 1).text, i - 1);
        highlighter_->NextToEol();
        lines_.PutRange(i, highlighter_->GetRange());
    }
    rangesValid_ = true;
}

bool TCodeEditPrint::LineSelected(int index) const
{
    return index >= blockBegin_.y - 1 && index <= blockEnd_.y - 1;
}

QString TCodeEditPrint::PrintedText(int index) const
{
    const QString& line = lines_.Record(index).text;
    if (!selectedOnly_ || selectionMode_ == smLine || !LineSelected(index)) {
        return line;
    }
    if (selectionMode_ == smColumn) {
        const int left = std::min(blockBegin_.x, blockEnd_.x);
        const int right = std::max(blockBegin_.x, blockEnd_.x);
        return line.mid(left - 1, right - left);
    }
    // A stream: the first line from its column, the last up to its column.
    const int first = index == blockBegin_.y - 1 ? blockBegin_.x - 1 : 0;
    const int last = index == blockEnd_.y - 1 ? blockEnd_.x - 1 : static_cast<int>(line.size());
    return line.mid(first, std::max(0, last - first));
}

void TCodeEditPrint::FindLineRows(const QString& text, std::vector<int>& rowEnds) const
{
    if (wrap_ && canvas_->TextWidth(Utf16View(text)) > maxWidth_) {
        FindRowEnds(text, maxColumns_, rowEnds);
    }
}

void TCodeEditPrint::Paginate()
{
    TCanvas& canvas = *canvas_;
    ScanRanges();
    pages_.clear();
    wrappedLines_.clear();
    rowEnds_.clear();

    // The widest run of "W" that stays below the printable width.
    const int available = margins_.PixelRight - margins_.PixelLeft;
    QString run;
    while (run.size() <= std::max(available, 0) && canvas.TextWidth(Utf16View(run + QLatin1Char('W'))) < available) {
        run += QLatin1Char('W');
    }
    maxColumns_ = std::max(1, static_cast<int>(run.size()));
    maxWidth_ = canvas.TextWidth(Utf16View(QString(maxColumns_, QLatin1Char('W'))));

    lineHeight_ = std::max(1, metrics_.height + metrics_.externalLeading);
    pageCount_ = 1;
    pages_.push_back({0, 0});
    int position = margins_.PixelTop;
    for (int i = 0; i < lines_.Count(); ++i) {
        const std::size_t first = rowEnds_.size();
        FindLineRows(PrintedText(i), rowEnds_);
        const int rows = 1 + static_cast<int>(rowEnds_.size() - first);
        if (rows > 1) {
            wrappedLines_.push_back({i, static_cast<int>(first), rows - 1});
        }
        for (int row = 0; row < rows; ++row) {
            if (position + lineHeight_ > margins_.PixelBottom && position > margins_.PixelTop) {
                position = margins_.PixelTop;
                ++pageCount_;
                pages_.push_back({i, row});
            }
            position += lineHeight_;
        }
    }
    pagesCounted_ = true;
}

int TCodeEditPrint::LineRowCount(int index, const int*& rowEnds) const
{
    const auto found = std::lower_bound(wrappedLines_.begin(), wrappedLines_.end(), index,
                                        [](const TLineRows& rows, int line) { return rows.Line < line; });
    if (found == wrappedLines_.end() || found->Line != index) {
        rowEnds = nullptr;
        return 1;
    }
    rowEnds = rowEnds_.data() + found->First;
    return found->Count + 1;
}

void TCodeEditPrint::PrintPage(int number)
{
    if (number < 1 || number > pageCount_ || pages_.empty()) {
        return;
    }
    TCanvas& canvas = *canvas_;
    FirePrintStatus(psNewPage, number, abort_);
    if (abort_) {
        return;
    }
    margins_.InitPage(canvas, number, printerInfo_, lineNumbers_, lineNumbersInMargin_, HighestLineNumber());
    canvas.FillRect(Rect(margins_.PixelLeft, margins_.PixelTop, margins_.PixelRight, margins_.PixelBottom), Color);
    header_.Print(canvas, number + PageOffset);

    canvas.SetFont(font_);
    canvas.SetBackgroundColor(Color);
    yPos_ = margins_.PixelTop;
    const TPageStart start = pages_[static_cast<std::size_t>(number - 1)];
    const TPageStart end = number < pageCount_ ? pages_[static_cast<std::size_t>(number)]
                                               : TPageStart{lines_.Count(), 0};
    for (int i = start.Line; i < end.Line || (i == end.Line && end.Row > 0); ++i) {
        lineNumber_ = i + 1;
        if (selectedOnly_ && !LineSelected(i)) {
            continue;
        }
        const int* rowEnds = nullptr;
        const int rows = LineRowCount(i, rowEnds);
        const int firstRow = i == start.Line ? start.Row : 0;
        const int lastRow = i == end.Line ? end.Row : rows;
        if (lineNumbers_ && firstRow == 0) {
            PrintLineNumber();
        }
        const QString text = PrintedText(i);
        if (canHighlight_) {
            WriteHighlighted(text, i, rowEnds, rows, firstRow, lastRow);
        } else {
            WritePlain(text, rowEnds, rows, firstRow, lastRow);
        }
        yPos_ += (lastRow - firstRow) * lineHeight_;
        FirePrintLine(i + 1, number);
    }
    footer_.Print(canvas, number + PageOffset);
}

void TCodeEditPrint::PrintLineNumber()
{
    TCanvas& canvas = *canvas_;
    const TCanvasFont saved = canvas.Font();
    const TColor savedColor = canvas.TextColor();
    TCanvasFont plain = saved;
    plain.style = 0;
    canvas.SetFont(plain);
    canvas.SetTextColor(clBlack);
    const QString text = QString::number(lineNumber_ + LineOffset) + QStringLiteral(": ");
    const std::u16string_view view = Utf16View(text);
    canvas.TextOut(margins_.PixelLeft - canvas.TextWidth(view), yPos_ + metrics_.ascent, view);
    canvas.SetFont(saved);
    canvas.SetTextColor(savedColor);
}

void TCodeEditPrint::DrawRun(int x, int y, QStringView text, TColor background)
{
    TCanvas& canvas = *canvas_;
    const auto length = static_cast<std::size_t>(text.size());
    if (advances_.size() < length) {
        advances_.resize(length, charWidth_);
    }
    // The page is filled with Color already; only other backgrounds are painted.
    if (background != Color) {
        canvas.SetBackgroundColor(background);
        const TRect cell = Rect(x, y, x + static_cast<int>(length) * charWidth_, y + metrics_.height);
        canvas.ExtTextOut(x, y + metrics_.ascent, etoOpaque, &cell, Utf16View(text), advances_.data());
    } else {
        canvas.ExtTextOut(x, y + metrics_.ascent, 0, nullptr, Utf16View(text), advances_.data());
    }
}

void TCodeEditPrint::WriteHighlighted(const QString& text, int index, const int* rowEnds, int rowCount,
                                      int firstRow, int lastRow)
{
    TCanvas& canvas = *canvas_;
    const TCanvasFont saved = canvas.Font();
    TCanvasFont font = saved;
    highlighter_->SetRange(lines_.GetRange(index));
    highlighter_->SetLine(text, index);
    int row = 0;
    int rowStart = 0;
    int rowEnd = rowCount > 1 ? rowEnds[0] : INT_MAX;
    while (!highlighter_->GetEol() && row < lastRow) {
        const QStringView token = highlighter_->GetToken();
        const int tokenStart = highlighter_->GetTokenPos();
        const int tokenEnd = tokenStart + static_cast<int>(token.size());
        TColor background = Color;
        if (const TCodeHighlighterAttributes* attribute = highlighter_->GetTokenAttribute()) {
            font.style = attribute->Style();
            canvas.SetFont(font);
            if (Colors) {
                canvas.SetTextColor(attribute->Foreground() == clNone ? fontColor_ : attribute->Foreground());
                background = attribute->Background() == clNone ? Color : attribute->Background();
            }
        } else {
            canvas.SetTextColor(fontColor_);
        }
        // A token that crosses a row end goes on at the start of the next row.
        for (int pieceStart = tokenStart; pieceStart < tokenEnd && row < lastRow;) {
            while (pieceStart >= rowEnd) {
                ++row;
                rowStart = rowEnd;
                rowEnd = row + 1 < rowCount ? rowEnds[row] : INT_MAX;
            }
            const int pieceEnd = std::min(tokenEnd, rowEnd);
            if (row >= firstRow && row < lastRow) {
                DrawRun(margins_.PixelLeft + (pieceStart - rowStart) * charWidth_,
                        yPos_ + (row - firstRow) * lineHeight_,
                        token.mid(pieceStart - tokenStart, pieceEnd - pieceStart), background);
            }
            pieceStart = pieceEnd;
        }
        highlighter_->Next();
    }
    canvas.SetFont(saved);
    canvas.SetTextColor(fontColor_);
}

void TCodeEditPrint::WritePlain(const QString& text, const int* rowEnds, int rowCount, int firstRow, int lastRow)
{
    TCanvas& canvas = *canvas_;
    canvas.SetTextColor(fontColor_);
    if (!wrap_) {
        canvas.TextOut(margins_.PixelLeft, yPos_ + metrics_.ascent, Utf16View(QStringView(text).left(maxColumns_)));
        return;
    }
    for (int row = firstRow; row < lastRow; ++row) {
        const int start = row == 0 ? 0 : rowEnds[row - 1];
        const int end = row + 1 < rowCount ? rowEnds[row] : static_cast<int>(text.size());
        canvas.TextOut(margins_.PixelLeft, yPos_ + (row - firstRow) * lineHeight_ + metrics_.ascent,
                       Utf16View(QStringView(text).mid(start, end - start)));
    }
}
