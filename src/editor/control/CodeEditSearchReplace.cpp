// Search and replace in the control: the range the options give, the hits of each line
// walked in the search direction, the prompt, and where selection, caret and range end
// stand after each replacement.
#include "editor/control/CodeEdit.h"

#include <utility>

namespace {

// The lines a replacement adds: a CR LF pair, a lone CR and a lone LF each break once,
// as the selection primitive splits them.
int LineBreaksIn(const QString& text)
{
    int breaks = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\r')) {
            ++breaks;
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
                ++i;
            }
        } else if (text[i] == QLatin1Char('\n')) {
            ++breaks;
        }
    }
    return breaks;
}

} // namespace

int TCustomCodeEdit::SearchAndReplace(const QString& search, const QString& replace, TSearchReplaceOptions options)
{
    if (OnSearchEngineOverride) {
        OnSearchEngineOverride(searchEngine_);
    }
    if (!searchEngine_) {
        ownSearchEngine_ = std::make_unique<TCodeEditSearch>();
        searchEngine_ = ownSearchEngine_.get();
    }
    if (search.isEmpty()) {
        return 0;
    }
    const bool backwards = options.Contains(sroBackwards);
    bool prompt = options.Contains(sroPrompt);
    const bool replaceOne = options.Contains(sroReplace);
    bool replaceAll = options.Contains(sroReplaceAll);
    const bool fromCaret = !options.Contains(sroEntireScope);
    const bool selectedOnly = options.Contains(sroSelectedOnly) && SelAvail();

    // The range. The mode's own range test applies only to a range taken from the
    // selection; any other range is a stretch of text from one point to another.
    const TCodeSelectionMode heldMode = selectionMode_;
    const TCodeSelectionMode mode = selectedOnly ? heldMode : smNormal;
    TTextPoint rangeStart{1, 1};
    TTextPoint rangeEnd{static_cast<int>(LineAt(LineCount()).size()) + 1, LineCount()};
    if (selectedOnly) {
        rangeStart = BlockBegin();
        rangeEnd = BlockEnd();
        if (mode == smLine) {
            rangeStart.x = 1;
            rangeEnd.x = static_cast<int>(LineAt(rangeEnd.y).size()) + 1;
        } else if (mode == smColumn && rangeEnd.x < rangeStart.x) {
            std::swap(rangeStart.x, rangeEnd.x);
        }
    } else if (fromCaret) {
        (backwards ? rangeEnd : rangeStart) = CaretXY();
    }

    TCodeEditSearch& engine = *searchEngine_;
    engine.SetSensitive(options.Contains(sroMatchCase));
    engine.SetWhole(options.Contains(sroWholeWord));
    engine.SetPattern(search);
    const int searchLength = static_cast<int>(search.size());
    const int replaceLength = static_cast<int>(replace.size());
    const int replaceBreaks = LineBreaksIn(replace);

    // A hit is a run of characters on one line: selected and replaced as such, whatever
    // the mode (a line or column selection of it would take other text with it).
    selectionMode_ = smNormal;
    bool undoBlockOpen = false;
    if (replaceAll) {
        IncPaintLock();
        if (!prompt) {
            BeginUndoBlock();
            undoBlockOpen = true;
        }
    }
    // Whatever way the call ends, a replace-all repaints once and undoes as one step.
    bool replaced = false;
    const auto finish = [&] {
        selectionMode_ = heldMode;
        if (replaceAll) {
            DecPaintLock();
        }
        if (undoBlockOpen) {
            EndUndoBlock();
        }
        if (replaced) {
            // A later edit of the same kind must not take half of the last
            // replacement (its insertion without its deletion) into its undo step.
            undoList_->AddGroupBreak();
        }
    };

    int result = 0;
    try {
        const auto inRange = [&](int at, int found) {
            switch (mode) {
            case smLine: return true;
            case smColumn:
                return (found >= rangeStart.x && found + searchLength <= rangeEnd.x) ||
                       rangeEnd.x - rangeStart.x < 1;
            case smNormal: break;
            }
            return !(at == rangeStart.y && found < rangeStart.x) &&
                   !(at == rangeEnd.y && found + searchLength > rangeEnd.x);
        };
        int line = backwards ? rangeEnd.y : rangeStart.y;
        while (line >= rangeStart.y && line <= rangeEnd.y) {
            const int hits = engine.FindAll(LineAt(line));
            for (int i = backwards ? hits - 1 : 0; backwards ? i >= 0 : i < hits; i += backwards ? -1 : 1) {
                const int found = engine.Results(i);
                if (!inRange(line, found)) {
                    continue;
                }
                ++result;
                SetBlockBegin(TTextPoint{found, line});
                PlaceCaret(false, TTextPoint{1, line});
                EnsureCursorPosVisibleEx(true);
                SetBlockEnd(TTextPoint{found + searchLength, line});
                SetCaretXY(backwards ? TTextPoint{found, line} : TTextPoint{found + searchLength, line});
                if (!replaceOne && !replaceAll) {
                    finish();
                    return result;
                }
                TCodeReplaceAction action = rpaReplace;
                if (prompt && OnReplaceText) {
                    action = FireReplaceText(search, replace, line, found);
                    if (action == rpaCancel) {
                        finish();
                        return result;
                    }
                }
                if (action != rpaSkip && !GetReadOnly()) {
                    if (replaced && !undoBlockOpen) {
                        undoList_->AddGroupBreak(); // each prompted replacement undoes alone
                    }
                    if (action == rpaReplaceAll) {
                        if (!replaceAll) {
                            replaceAll = true;
                            IncPaintLock();
                        }
                        prompt = false;
                        BeginUndoBlock();
                        undoBlockOpen = true;
                    }
                    ReplaceSelText(replace);
                    replaced = true;
                    if (!backwards) {
                        // The rest of the line now follows the inserted text, which may
                        // end some lines further down; the range end moves with it.
                        const bool breaks = replaceBreaks > 0;
                        const TTextPoint after =
                            breaks ? CaretXY() : TTextPoint{found + replaceLength, line};
                        const int shift = found + searchLength - after.x;
                        if (!breaks) {
                            SetCaretX(after.x);
                        }
                        if (shift != 0 || breaks) {
                            engine.FixResults(found, shift);
                            if (mode != smColumn && line == rangeEnd.y) {
                                rangeEnd.x -= shift;
                            }
                            if (breaks) {
                                // The line's remaining hits are on the line where it ends.
                                rangeEnd.y += after.y - line;
                                line = after.y;
                            }
                            // A selection being searched stays selected up to its end.
                            if (selectedOnly && mode != smColumn && after.y == rangeEnd.y) {
                                SetBlockEnd(rangeEnd);
                            }
                        }
                    }
                }
                if (!replaceAll) {
                    finish();
                    return result;
                }
            }
            line += backwards ? -1 : 1;
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return result;
}
