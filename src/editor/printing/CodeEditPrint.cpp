#include "editor/printing/CodeEditPrint.h"

#include "editor/highlighting/CodeCustomHighlighter.h"
#include "editor/control/CodeEdit.h"
#include "platform/core/graphics/Canvas.h"
#include "platform/core/services/Printer.h"

#include <algorithm>

TCodeEditPrint::TCodeEditPrint(TComponent* owner) : TComponent(owner), advances_(1024, 0)
{
    const TNotifyEvent changed = MakeDelegate<&TCodeEditPrint::LayoutChanged>(this);
    header_.OnChange = changed;
    footer_.OnChange = changed;
    margins_.OnChange = changed;
    font_.OnChange = changed;
}

TCodeEditPrint::~TCodeEditPrint() { Destroying(); }

void TCodeEditPrint::LayoutChanged(TObject* /*sender*/) { pagesCounted_ = false; }

void TCodeEditPrint::SetLines(const QStringList& lines)
{
    const TTabExpander expand = SelectTabExpander(tabWidth_);
    lines_.BeginUpdate();
    lines_.Clear();
    lines_.SetCapacity(static_cast<int>(lines.size()));
    for (const QString& line : lines) {
        QString expanded = expand(line, tabWidth_);
        // Expansion fills with tab characters; on paper they are blanks.
        expanded.replace(QLatin1Char('\t'), QLatin1Char(' '));
        lines_.Add(expanded);
    }
    lines_.EndUpdate();
    rangesValid_ = false;
    pagesCounted_ = false;
}

void TCodeEditPrint::SetLines(const TCodeEditStringList& lines)
{
    // A soft-wrapped line prints as the one line it is.
    QStringList logical;
    logical.reserve(lines.Count());
    for (int i = 0; i < lines.Count(); ++i) {
        if (i > 0 && lines.IsContinuationLine(i)) {
            logical.back() += lines.Record(i).text;
        } else {
            logical.append(lines.Record(i).text);
        }
    }
    SetLines(logical);
}

void TCodeEditPrint::SetFont(const TFont& font)
{
    font_.Assign(&font);
    pagesCounted_ = false;
}

void TCodeEditPrint::SetHighlighter(TCodeCustomHighlighter* highlighter)
{
    if (highlighter_ != highlighter) {
        if (highlighter_) {
            highlighter_->RemoveFreeNotification(this);
        }
        highlighter_ = highlighter;
        if (highlighter_) {
            highlighter_->FreeNotification(this);
        }
    }
    rangesValid_ = false;
    pagesCounted_ = false;
}

void TCodeEditPrint::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == highlighter_) {
        highlighter_ = nullptr;
        rangesValid_ = false;
    }
}

void TCodeEditPrint::SetWrap(bool value)
{
    if (value != wrap_) {
        wrap_ = value;
        pagesCounted_ = false;
    }
}

void TCodeEditPrint::SetLineNumbers(bool value)
{
    if (value != lineNumbers_) {
        lineNumbers_ = value;
        pagesCounted_ = false;
    }
}

void TCodeEditPrint::SetLineNumbersInMargin(bool value)
{
    if (value != lineNumbersInMargin_) {
        lineNumbersInMargin_ = value;
        pagesCounted_ = false;
    }
}

void TCodeEditPrint::SetTabWidth(int value)
{
    if (value != tabWidth_) {
        tabWidth_ = value;
        pagesCounted_ = false;
    }
}

void TCodeEditPrint::SetSelectedOnly(bool value)
{
    if (value != selectedOnly_) {
        selectedOnly_ = value;
        pagesCounted_ = false;
    }
}

void TCodeEditPrint::SetSelection(bool available, TTextPoint begin, TTextPoint end, TCodeSelectionMode mode)
{
    selAvail_ = available;
    blockBegin_ = begin;
    blockEnd_ = end;
    selectionMode_ = mode;
    if (selectedOnly_) {
        pagesCounted_ = false;
    }
}

namespace {

// The editor's point (buffer row, character position) as a line of the logical text
// and a display column of its expanded form (columns past the line end stay past it).
TTextPoint PrintedPoint(const TCodeEditStringList& lines, TTextPoint point, int tabWidth)
{
    if (lines.Count() == 0) {
        return point;
    }
    const int row = std::clamp(point.y, 1, lines.Count()) - 1;
    int line = row;
    int head = row;
    if (lines.WrapMode()) {
        line = 0;
        for (int i = 1; i <= row; ++i) {
            line += lines.IsContinuationLine(i) ? 0 : 1;
        }
        while (head > 0 && lines.IsContinuationLine(head)) {
            --head;
        }
    }
    QString text;
    for (int i = head; i < row; ++i) {
        text += lines.Record(i).text;
    }
    const QString& rowText = lines.Record(row).text;
    const int inRow = std::max(0, point.x - 1);
    text += rowText.left(inRow);
    const int beyond = std::max(0, inRow - static_cast<int>(rowText.size()));
    return {static_cast<int>(SelectTabExpander(tabWidth)(text, tabWidth).size()) + beyond + 1, line + 1};
}

} // namespace

void TCodeEditPrint::LoadFromEditor(TCustomCodeEdit& editor)
{
    SetHighlighter(editor.Highlighter());
    TFont font;
    font.SetName(editor.Font().Name().toStdString());
    font.SetSize(editor.Font().Size());
    font.SetStyle(editor.Font().Style());
    font.SetColor(editor.Font().Color());
    SetFont(font);
    SetTabWidth(editor.TabWidth());
    SetLines(editor.Lines());
    SetSelection(editor.SelAvail(), PrintedPoint(editor.Lines(), editor.BlockBegin(), tabWidth_),
                 PrintedPoint(editor.Lines(), editor.BlockEnd(), tabWidth_), editor.SelectionMode());
}

void TCodeEditPrint::FirePrintStatus(TCodePrintStatus status, int pageNumber, bool& abort)
{
    abort = false;
    if (OnPrintStatus) {
        OnPrintStatus(this, status, pageNumber, abort);
    }
    if (abort && printing_) {
        if (IPrinter* printer = Printer()) {
            printer->Abort();
        }
    }
}

void TCodeEditPrint::FirePrintLine(int lineNumber, int pageNumber)
{
    if (OnPrintLine) {
        OnPrintLine(this, lineNumber, pageNumber);
    }
}

int TCodeEditPrint::PageCount()
{
    if (!pagesCounted_) {
        const std::unique_ptr<TCanvas> canvas = CreateMeasuringCanvas();
        if (!canvas) {
            return 0;
        }
        UpdatePages(*canvas);
        canvas_ = nullptr;
        pagesCounted_ = true;
    }
    return pageCount_;
}

void TCodeEditPrint::UpdatePages(TCanvas& canvas)
{
    canvas_ = &canvas;
    printerInfo_.UpdatePrinter();
    PreparePrint();
}

void TCodeEditPrint::PrintToCanvas(TCanvas& canvas, int pageNumber)
{
    abort_ = false;
    printing_ = false;
    canvas_ = &canvas;
    PrintPage(pageNumber);
    canvas_ = nullptr; // the caller's canvas may go now
}

void TCodeEditPrint::PrintRange(int startPage, int endPage)
{
    if (selectedOnly_ && !selAvail_) {
        return;
    }
    IPrinter* printer = Printer();
    if (!printer) {
        throw EPrinter("There is no printer to print on.");
    }
    // Clamped to the pages there are, so an empty range starts no job. Without a
    // measuring canvas the count comes from the printer's canvas once the job runs.
    const int count = PageCount();
    startPage = std::max(1, startPage);
    if (count > 0) {
        endPage = endPage < 0 ? count : std::min(endPage, count);
        if (startPage > endPage) {
            return;
        }
    }
    if (Copies < 1) {
        return;
    }
    struct TPrintingFlag {
        TCodeEditPrint& engine;
        IPrinter& printer;
        ~TPrintingFlag()
        {
            // An exception on the way discards the job.
            if (printer.Printing()) {
                printer.Abort();
            }
            engine.printing_ = false;
            engine.canvas_ = nullptr;
        }
    } flag{*this, *printer};
    printing_ = true;
    abort_ = false;
    printer->SetTitle((DocTitle.isEmpty() ? Title : DocTitle).toStdString());
    printer->BeginDoc();
    FirePrintStatus(psBegin, startPage, abort_);
    if (!abort_) {
        UpdatePages(printer->Canvas());
        pagesCounted_ = true;
        endPage = endPage < 0 ? pageCount_ : std::min(endPage, pageCount_);
    }
    for (int copy = 1; copy <= Copies && !abort_; ++copy) {
        for (int page = startPage; page <= endPage && !abort_; ++page) {
            PrintPage(page);
            if (!abort_ && (page < endPage || copy < Copies)) {
                printer->NewPage();
            }
        }
    }
    if (abort_) {
        return;
    }
    FirePrintStatus(psEnd, endPage, abort_);
    if (abort_) {
        return;
    }
    printer->EndDoc();
}
