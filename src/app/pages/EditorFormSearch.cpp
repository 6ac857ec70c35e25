// Find and replace on an editor page: the dialogs preset from and stored back into the
// shared search state, the search itself and the question for each replacement.
#include "app/pages/EditorForm.h"
#include "app/pages/SearchDialogs.h"
#include "app/pages/SearchState.h"

#include "editor/widget/CodeEditWidget.h"
#include "platform/core/ScopeGuard.h"
#include "platform/gui/Beep.h"
#include "platform/gui/QtModalForm.h"


#include <memory>

TEditorSearchState EditorSearch;

void TEditorForm::ShowSearchReplaceDialog(bool replace)
{
    TEditorSearchState& s = EditorSearch;
    TCodeEdit& editor = CodeEditor();
    std::unique_ptr<TTextSearchDialog> dialog;
    TTextReplaceDialog* replaceDialog = nullptr;
    if (replace) {
        replaceDialog = new TTextReplaceDialog(this);
        dialog.reset(replaceDialog);
    } else {
        dialog = std::make_unique<TTextSearchDialog>(this);
    }
    dialog->SetSearchBackwards(s.SearchBackwards);
    dialog->SetSearchCaseSensitive(s.SearchCaseSensitive);
    dialog->SetSearchFromCursor(s.SearchFromCaret);
    dialog->SetSearchInSelectionOnly(s.SearchSelectionOnly);
    QString text = s.SearchText;
    if (s.SearchTextAtCaret) {
        const bool oneLine = editor.SelAvail() && editor.BlockBegin().y == editor.BlockEnd().y;
        text = oneLine ? editor.GetSelText() : editor.GetWordAtCursor();
    }
    dialog->SetSearchText(text);
    dialog->SetSearchTextHistory(s.SearchTextHistory);
    if (replaceDialog != nullptr) {
        replaceDialog->SetReplaceText(s.ReplaceText);
        replaceDialog->SetReplaceTextHistory(s.ReplaceTextHistory);
    }
    dialog->SetSearchWholeWords(s.SearchWholeWords);
    if (ShowModalDialog(*dialog, dialog->FormName()) != TModalResult::mrOk) {
        return;
    }
    s.SearchBackwards = dialog->SearchBackwards();
    s.SearchCaseSensitive = dialog->SearchCaseSensitive();
    s.SearchFromCaret = dialog->SearchFromCursor();
    s.SearchSelectionOnly = dialog->SearchInSelectionOnly();
    s.SearchWholeWords = dialog->SearchWholeWords();
    s.SearchText = dialog->SearchText();
    s.SearchTextHistory = dialog->SearchTextHistory();
    if (replaceDialog != nullptr) {
        s.ReplaceText = replaceDialog->ReplaceText();
        s.ReplaceTextHistory = replaceDialog->ReplaceTextHistory();
    }
    FromCaret = s.SearchFromCaret;
    if (!s.SearchText.isEmpty()) {
        DoFindText(replace, s.SearchBackwards);
        // The next Find Next on this page goes on from the caret.
        FromCaret = true;
    }
}

void TEditorForm::DoFindText(bool replace, bool backwards)
{
    // The confirmation made for this search goes with it, however it ends.
    const auto freeConfirmation = TScopeGuard([] { delete ConfirmReplaceDialog; });
    const TEditorSearchState& s = EditorSearch;
    TSearchReplaceOptions options;
    if (replace) {
        options = options.With(sroReplace).With(sroReplaceAll).With(sroPrompt);
    }
    if (backwards) {
        options = options.With(sroBackwards);
    }
    if (s.SearchCaseSensitive) {
        options = options.With(sroMatchCase);
    }
    if (!FromCaret) {
        options = options.With(sroEntireScope);
    }
    if (s.SearchSelectionOnly) {
        options = options.With(sroSelectedOnly);
    }
    if (s.SearchWholeWords) {
        options = options.With(sroWholeWord);
    }
    TCodeEdit& editor = CodeEditor();
    if (editor.SearchAndReplace(s.SearchText, s.ReplaceText, options) == 0) {
        Beep();
        if (backwards) {
            editor.SetBlockEnd(editor.BlockBegin());
        } else {
            editor.SetBlockBegin(editor.BlockEnd());
        }
        editor.SetCaretXY(editor.BlockBegin());
    }
}

TCodeReplaceAction TEditorForm::CodeEditorReplaceText(const QString& search, const QString& replace, int line,
                                                      int column)
{
    if (search == replace) {
        return rpaSkip;
    }
    const TCodeEdit& editor = CodeEditor();
    const TTextPoint pixel = editor.TextPosToPixel(TTextPoint{column, line});
    const QPoint hit = FCodeEditor->viewport()->mapToGlobal(QPoint(pixel.x, pixel.y));
    const QRect editorRect(mapToGlobal(QPoint(0, 0)), size());
    if (ConfirmReplaceDialog == nullptr) {
        // Kept through the whole replacement; DoFindText frees it at the end.
        new TConfirmReplaceDialog(nullptr);
    }
    ConfirmReplaceDialog->PrepareShow(editorRect, hit.x(), hit.y(), hit.y() + editor.LineHeight(), search);
    switch (ShowModalDialog(*ConfirmReplaceDialog, TConfirmReplaceDialog::FormName())) {
    case TModalResult::mrYes: return rpaReplace;
    case TModalResult::mrNo: return rpaSkip;
    case TModalResult::mrAll: return rpaReplaceAll;
    default: return rpaCancel;
    }
}
