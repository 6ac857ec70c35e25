#pragma once
// The print engine: prints a copy of an editor's lines on the installed printer, or
// renders one page on any canvas for the preview. It expands tabs, breaks long lines
// into rows at the printable width, divides the rows into pages and draws each page: a
// header, the lines (with line numbers, highlighter fonts and colours when asked) and a
// footer. Page geometry comes from the margins, which convert millimetres into device
// pixels through the printer information.
//
// Pages break between rows: a page records the line and the row it starts with, and
// both ways of drawing a line (highlighted and plain) draw the rows the pagination
// counted, so a page never runs into its footer.

#include "editor/printing/CodeEditPrintHeaderFooter.h"
#include "editor/printing/CodeEditPrintMargins.h"
#include "editor/printing/CodeEditPrintTypes.h"
#include "editor/printing/CodeEditPrinterInfo.h"
#include "editor/control/CodeEditSelectionMode.h"
#include "editor/document/CodeEditStringList.h"
#include "editor/document/CodeEditMiscProcs.h"
#include "platform/core/graphics/Canvas.h"
#include "platform/core/objects/Component.h"
#include "platform/core/graphics/Font.h"

#include <QString>
#include <QStringList>

#include <vector>

class TCodeCustomHighlighter;
class TCustomCodeEdit;

class TCodeEditPrint : public TComponent {
    KP_CLASS(TCodeEditPrint, TComponent)
public:
    explicit TCodeEditPrint(TComponent* owner = nullptr);
    ~TCodeEditPrint() override;

    // --- what is printed ---
    const TCodeEditStringList& Lines() const { return lines_; }
    // A tab-expanded copy at TabWidth; a tab that expansion leaves becomes a blank.
    void SetLines(const QStringList& lines);
    void SetLines(const TCodeEditStringList& lines);
    TFont& Font() { return font_; }
    void SetFont(const TFont& font);
    TCodeCustomHighlighter* Highlighter() const { return highlighter_; }
    void SetHighlighter(TCodeCustomHighlighter* highlighter);
    // Highlighter, font, tab width, lines, and the editor's selection.
    void LoadFromEditor(TCustomCodeEdit& editor);

    QString Title;
    QString DocTitle;
    int Copies = 1;
    int LineOffset = 0;
    int PageOffset = 0;
    TColor Color = clWhite;
    bool Highlight = true;
    bool Colors = false;

    // --- layout: a change makes the page count out of date ---
    bool Wrap() const { return wrap_; }
    void SetWrap(bool value);
    bool LineNumbers() const { return lineNumbers_; }
    void SetLineNumbers(bool value);
    bool LineNumbersInMargin() const { return lineNumbersInMargin_; }
    void SetLineNumbersInMargin(bool value);
    int TabWidth() const { return tabWidth_; }
    // Expands tabs of lines set afterwards.
    void SetTabWidth(int value);
    bool SelectedOnly() const { return selectedOnly_; }
    void SetSelectedOnly(bool value);
    THeader& Header() { return header_; }
    TFooter& Footer() { return footer_; }
    TCodeEditPrintMargins& Margins() { return margins_; }
    TCodeEditPrinterInfo& PrinterInfo() { return printerInfo_; }

    // The selection as the editor had it (columns are display columns of the expanded
    // lines).
    bool SelectionAvailable() const { return selAvail_; }
    TTextPoint BlockBegin() const { return blockBegin_; }
    TTextPoint BlockEnd() const { return blockEnd_; }
    TCodeSelectionMode SelectionMode() const { return selectionMode_; }
    void SetSelection(bool available, TTextPoint begin, TTextPoint end, TCodeSelectionMode mode);

    // --- printing ---
    void Print() { PrintRange(1, -1); }
    // Pages start..end (end < 0: the last page) of every copy on the installed printer.
    // EPrinter when there is none or it cannot start.
    void PrintRange(int startPage, int endPage);
    // One page on the canvas, as the preview draws it.
    void PrintToCanvas(TCanvas& canvas, int pageNumber);
    // Paginates on the canvas with fresh printer information.
    void UpdatePages(TCanvas& canvas);
    // The page count, paginating on a measuring canvas when the layout changed; 0 when
    // no measuring canvas can be had.
    int PageCount();
    bool PagesCounted() const { return pagesCounted_; }

    // The geometry of the last pagination.
    int MaxColumns() const { return maxColumns_; }
    int MaxWidth() const { return maxWidth_; }
    int LineHeight() const { return lineHeight_; }
    int CharWidth() const { return charWidth_; }

    // Fired at the job's begin, on each new page and at the job's end; setting abort
    // stops the job and discards what the printer got.
    TPrintStatusEvent OnPrintStatus;
    // Fired after each printed line.
    TPrintLineEvent OnPrintLine;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    virtual void FirePrintStatus(TCodePrintStatus status, int pageNumber, bool& abort);
    virtual void FirePrintLine(int lineNumber, int pageNumber);

private:
    // Where a page starts: the line and its row (0 = the line's first row).
    struct TPageStart {
        int Line = 0;
        int Row = 0;
    };
    // The rows of a wrapped line: its row ends in rowEnds_ from First, Count of them.
    struct TLineRows {
        int Line = 0;
        int First = 0;
        int Count = 0;
    };

    void LayoutChanged(TObject* sender = nullptr);
    void PreparePrint();
    void ScanRanges();
    void Paginate();
    // The row ends of line i as printed (none for a line that fits or is not wrapped).
    void FindLineRows(const QString& text, std::vector<int>& rowEnds) const;
    // The text line i prints: the whole line or its selected part.
    QString PrintedText(int index) const;
    bool LineSelected(int index) const;
    int LineRowCount(int index, const int*& rowEnds) const;
    void PrintPage(int number);
    void PrintLineNumber();
    void WriteHighlighted(const QString& text, int index, const int* rowEnds, int rowCount, int firstRow,
                          int lastRow);
    void WritePlain(const QString& text, const int* rowEnds, int rowCount, int firstRow, int lastRow);
    void DrawRun(int x, int y, QStringView text, TColor background);
    int HighestLineNumber() const;

    TCodeEditStringList lines_;
    THeader header_;
    TFooter footer_;
    TCodeEditPrintMargins margins_;
    TCodeEditPrinterInfo printerInfo_;
    TFont font_;
    TCodeCustomHighlighter* highlighter_ = nullptr;
    TCanvas* canvas_ = nullptr;

    int pageCount_ = 0;
    std::vector<TPageStart> pages_;
    std::vector<TLineRows> wrappedLines_;
    std::vector<int> rowEnds_;
    TTextMetrics metrics_;
    int charWidth_ = 0;
    std::vector<int> advances_;
    int yPos_ = 0;
    int lineHeight_ = 0;
    int maxWidth_ = 0;
    int maxColumns_ = 1;
    int lineNumber_ = 0;
    TColor fontColor_ = clBlack;

    bool wrap_ = true;
    bool lineNumbers_ = false;
    bool lineNumbersInMargin_ = false;
    bool selectedOnly_ = false;
    int tabWidth_ = 8;
    bool canHighlight_ = false;
    bool abort_ = false;
    bool printing_ = false;
    bool rangesValid_ = false;
    bool pagesCounted_ = false;

    bool selAvail_ = false;
    TCodeSelectionMode selectionMode_ = smNormal;
    TTextPoint blockBegin_;
    TTextPoint blockEnd_;
};
