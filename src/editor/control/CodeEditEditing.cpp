// The editing commands: typing, deleting backwards and forwards, words and whole lines,
// line breaks; each records what its undo and redo replay. Also the part of the command
// table that the caret and clipboard rows leave.
#include "editor/control/CodeEdit.h"
#include "editor/control/CodeEditInternals.h"

#include <algorithm>

namespace {
const QLatin1String kCrLf("\r\n");

QString Blanks(int count) { return QString(std::max(0, count), QLatin1Char(' ')); }

// Code units of the character at a 0-based index: a surrogate pair counts as one.
int CharLength(const QString& text, int index)
{
    return index + 1 < text.size() && text[index].isHighSurrogate() && text[index + 1].isLowSurrogate() ? 2 : 1;
}

// The anchor lies after the end point: the selection was made backwards.
bool MadeBackwards(TTextPoint anchor, TTextPoint end)
{
    return anchor.y > end.y || (anchor.y == end.y && anchor.x > end.x);
}
} // namespace

// --- the table ---------------------------------------------------------------------------

void TCustomCodeEdit::ExecuteEditCommand(TCodeEditorCommand command, QChar aChar, const TCodeEditCommandData& data)
{
    if (command >= ecGotoMarker0 && command <= ecGotoMarker9) {
        if (bookMarkOptions_->EnableKeys()) {
            GotoBookMark(command - ecGotoMarker0);
        }
        return;
    }
    if (command >= ecSetMarker0 && command <= ecSetMarker9) {
        if (bookMarkOptions_->EnableKeys()) {
            ToggleBookMark(command - ecSetMarker0, data);
        }
        return;
    }
    switch (command) {
    case ecLineStart:
    case ecSelLineStart: DoHomeKey(command == ecSelLineStart); return;
    case ecScrollUp:
    case ecScrollDown: ScrollLineCommand(command == ecScrollUp); return;
    case ecScrollLeft:
    case ecScrollRight:
        SetLeftChar(leftChar_ + (command == ecScrollLeft ? -1 : 1));
        if (host_) {
            host_->Repaint();
        }
        return;
    case ecContextHelp: ContextHelp(); return;
    default: break;
    }
    if (GetReadOnly()) {
        return;
    }
    switch (command) {
    case ecDeleteLastChar: DeleteLastChar(); break;
    case ecDeleteChar: DeleteChar(); break;
    case ecDeleteWord:
    case ecDeleteEOL: {
        PaintTransient(ttBefore);
        const int length = static_cast<int>(GetLineText().size());
        if (command == ecDeleteEOL) {
            DeleteRange(TTextPoint{length + 1, caretY_}, false);
            break;
        }
        if (caretX_ > length + 1) {
            SetCaretX(length + 1);
        }
        DeleteRange(NextWordPos(), false);
        break;
    }
    case ecDeleteLastWord:
    case ecDeleteBOL:
        PaintTransient(ttBefore);
        DeleteRange(command == ecDeleteLastWord ? PrevWordPos() : TTextPoint{1, caretY_}, true);
        PaintTransient(ttAfter);
        break;
    case ecDeleteLine: DeleteLine(); break;
    case ecLineBreak:
    case ecInsertLine: InsertLineBreak(command == ecLineBreak); break;
    case ecChar: TypeChar(aChar); break;
    case ecImeStr:
        if (const QString* text = CommandText(data)) {
            TypeText(*text);
        }
        break;
    case ecUndo: Undo(); break;
    case ecRedo: Redo(); break;
    case ecBlockIndent: DoBlockIndent(); break;
    case ecBlockUnindent: DoBlockUnindent(); break;
    case ecTab: DoTabKey(); break;
    case ecShiftTab: DoShiftTabKey(); break;
    default: break; // ecString, ecAutoCompletion and the gaps do nothing here
    }
}

void TCustomCodeEdit::ScrollLineCommand(bool up)
{
    const bool caretInWindow = caretY_ >= topLine_ && caretY_ < topLine_ + linesInWindow_;
    if (caretInWindow) {
        if (up) {
            SetTopLine(topLine_ - 1);
            const int lastVisible = topLine_ + linesInWindow_ - 1;
            if (caretY_ > lastVisible) {
                MoveCaretVert(lastVisible - caretY_, false);
            }
        } else {
            SetTopLine(topLine_ + 1);
            if (topLine_ > caretY_) {
                MoveCaretVert(topLine_ - caretY_, false);
            }
        }
    }
    EnsureCursorPosVisible();
    if (host_) {
        host_->Repaint();
    }
}

void TCustomCodeEdit::ContextHelp()
{
    if (!OnContextHelp) {
        return;
    }
    const QString word = GetWordAtCursor();
    SetBlockBegin(CaretXY());
    OnContextHelp(this, word);
}

// --- deleting ----------------------------------------------------------------------------

bool TCustomCodeEdit::DeleteSelectionFirst()
{
    if (!SelAvail()) {
        return false;
    }
    if (MadeBackwards(blockBegin_, blockEnd_)) {
        undoList_->AddChange(crDeleteCaretToStart, BlockEnd(), BlockBegin(), GetSelText(), selectionMode_);
    } else {
        undoList_->AddChange(crSelDelete, BlockBegin(), BlockEnd(), GetSelText(), selectionMode_);
    }
    SetSelTextRaw(QString());
    return true;
}

namespace {
// Backspace right after the leading blanks goes back to the previous tab stop: the cells
// of the tab-expanded indent from that stop towards the caret, up to the first cell of
// a tab, which counts as one more character.
int CharactersBackToTabStop(const QString& text, int indent, int caretColumn, int tabWidth)
{
    int cells = (caretColumn - 1) % tabWidth;
    if (cells == 0) {
        cells = tabWidth;
    }
    std::vector<bool> tabCells;
    tabCells.reserve(static_cast<std::size_t>(caretColumn));
    for (int i = 0; i < indent; ++i) {
        if (text[i] == QLatin1Char('\t')) {
            do {
                tabCells.push_back(true);
            } while (static_cast<int>(tabCells.size()) % tabWidth != 0);
        } else {
            tabCells.push_back(false);
        }
    }
    int count = 0;
    for (int cell = caretColumn - 1 - cells; cell < caretColumn - 1; ++cell) {
        if (tabCells[static_cast<std::size_t>(cell)]) {
            return count + 1;
        }
        ++count;
    }
    return count;
}
} // namespace

void TCustomCodeEdit::DeleteLastChar()
{
    PaintTransientEx(ttBefore, true);
    const auto after = [this] { PaintTransientEx(ttAfter, true); };
    try {
        if (!DeleteSelectionFirst()) {
            const QString text = GetLineText();
            const int length = static_cast<int>(text.size());
            const TTextPoint before = CaretXY();
            // The record names where the removed text stood, not the caret, which a
            // trimmed line without eoScrollPastEol pulls further left.
            TTextPoint start{};
            TTextPoint end = before;
            QString removed;
            // The indentation of the nearest line above that is indented less than this.
            const auto indentAbove = [this](int indent) {
                for (int y = caretY_ - 1; y >= 1; --y) {
                    const int spaces = LeftSpaces(LineAt(y));
                    if (spaces < indent) {
                        return spaces;
                    }
                }
                return 0;
            };
            if (caretX_ > length + 1) {
                // Past the line end only the caret moves.
                if (!HasOption(eoSmartTabDelete)) {
                    SetCaretX(caretX_ - 1);
                } else if (length > 0) {
                    SetCaretX(length + 1);
                } else {
                    SetCaretX(indentAbove(caretX_ - 1) + 1);
                }
                start = CaretXY();
            } else if (caretX_ == 1) {
                if (caretY_ > 1) {
                    const int above = caretY_ - 1;
                    const QString upper = LineAt(above);
                    start = TTextPoint{static_cast<int>(upper.size()) + 1, above};
                    SetCaretXY(start);
                    lines_->Delete(above);
                    DoLinesDeleted(above, 1);
                    ProperSetLine(above - 1,
                                  upper + (HasOption(eoTrimTrailingSpaces) ? TrimTrailingSpaces(text) : text));
                    removed = kCrLf;
                }
            } else if (text[caretX_ - 2].unicode() <= 32 && LeftSpaces(text) == caretX_ - 1) {
                const int indent = caretX_ - 1;
                int count = 0;
                int from = 0; // 0-based start of the removed characters
                if (HasOption(eoSmartTabDelete)) {
                    count = indent - indentAbove(indent);
                    if (text.mid(0, count) != text.mid(indent - count, count)) {
                        // Mixed tabs and blanks: the record names the characters where
                        // they stood, or its undo would put them back in the wrong order.
                        start = TTextPoint{1, caretY_};
                        end = TTextPoint{count + 1, caretY_};
                    }
                } else {
                    count = CharactersBackToTabStop(text, indent, CaretDisplayColumn(), tabWidth_);
                    from = indent - count;
                }
                removed = text.mid(from, count);
                ProperSetLine(caretY_ - 1, text.left(from) + text.mid(from + count));
                if (start.y == 0) {
                    start = TTextPoint{caretX_ - count, caretY_};
                }
                SetCaretX(caretX_ - count);
            } else {
                const int count = caretX_ >= 3 && IsTrailPosition(text, caretX_ - 1) ? 2 : 1;
                removed = text.mid(caretX_ - 1 - count, count);
                ProperSetLine(caretY_ - 1, text.left(caretX_ - 1 - count) + text.mid(caretX_ - 1));
                start = TTextPoint{caretX_ - count, caretY_};
                SetCaretX(caretX_ - count);
            }
            if (start.y != 0 && start != end) {
                undoList_->AddChange(crDeleteBeforeCaret, start, end, removed, smNormal);
            }
        }
        if (wordWrap_) {
            RewrapAfterDeletion(true);
        }
    } catch (...) {
        after();
        throw;
    }
    after();
}

void TCustomCodeEdit::DeleteChar()
{
    PaintTransient(ttBefore);
    if (!DeleteSelectionFirst()) {
        ResetLastCaretX();
        const QString text = GetLineText();
        const int length = static_cast<int>(text.size());
        const TTextPoint caret = CaretXY();
        TTextPoint end = caret;
        QString removed;
        if (caretX_ <= length) {
            const int count = CharLength(text, caretX_ - 1);
            removed = text.mid(caretX_ - 1, count);
            ProperSetLine(caretY_ - 1, text.left(caretX_ - 1) + text.mid(caretX_ - 1 + count));
            end = TTextPoint{caretX_ + count, caretY_};
        } else if (caretY_ < LineCount()) {
            // The next line joins this one at the caret, blanks filling the gap.
            ProperSetLine(caretY_ - 1, text + Blanks(caretX_ - 1 - length) + LineAt(caretY_ + 1));
            lines_->Delete(caretY_);
            DoLinesDeleted(caretY_, 1);
            removed = kCrLf;
            end = TTextPoint{1, caretY_ + 1};
        }
        if (end != caret) {
            undoList_->AddChange(crDeleteAfterCaret, caret, end, removed, smNormal);
        }
    }
    if (wordWrap_) {
        RewrapAfterDeletion(false);
    }
    PaintTransient(ttAfter);
}

// Deletes from the caret to another point of the text as a normal selection; backwards
// when the point lies before the caret.
void TCustomCodeEdit::DeleteRange(TTextPoint other, bool backwards)
{
    const TTextPoint caret = CaretXY();
    if (other == caret) {
        return;
    }
    TSelectionModeHold normal(*this, smNormal);
    SetBlockBegin(caret);
    blockEnd_ = other;
    if (backwards) {
        undoList_->AddChange(crDeleteBeforeCaret, other, caret, GetSelText(), smNormal);
    } else {
        undoList_->AddChange(crDeleteAfterCaret, caret, other, GetSelText(), smNormal);
    }
    SetSelTextRaw(QString());
}

void TCustomCodeEdit::DeleteLine()
{
    PaintTransient(ttBefore);
    const int count = LineCount();
    if (count == 0 || (count == 1 && LineAt(1).isEmpty())) {
        return;
    }
    SetBlockBegin(CaretXY());
    const int y = std::min(caretY_, count);
    const QString text = LineAt(y);
    // The record names the text the command really removes, so its redo removes the
    // same: the line with the break after it, or for the last line the break before it.
    if (count == 1) {
        undoList_->AddChange(crDeleteCaretToStart, TTextPoint{1, y}, TTextPoint{static_cast<int>(text.size()) + 1, y},
                             text, smNormal);
        lines_->Put(0, QString());
    } else if (y < count) {
        undoList_->AddChange(crDeleteCaretToStart, TTextPoint{1, y}, TTextPoint{1, y + 1}, text + kCrLf, smNormal);
        lines_->Delete(y - 1);
    } else {
        const int aboveEnd = static_cast<int>(LineAt(y - 1).size()) + 1;
        undoList_->AddChange(crDeleteCaretToStart, TTextPoint{aboveEnd, y - 1},
                             TTextPoint{static_cast<int>(text.size()) + 1, y}, kCrLf + text, smNormal);
        lines_->Delete(y - 1);
    }
    DoLinesDeleted(std::max(1, y - 1), 1);
    SetCaretXY(TTextPoint{1, y});
}

// --- line breaks -------------------------------------------------------------------------

void TCustomCodeEdit::InsertLineBreak(bool moveCaret)
{
    if (SelAvail()) {
        undoList_->AddChange(crSelDelete, BlockBegin(), BlockEnd(), GetSelText(), selectionMode_);
        SetSelTextRaw(QString());
    }
    if (LineCount() == 0) {
        lines_->Add(QString());
    }
    caretY_ = std::min(caretY_, LineCount());
    const TTextPoint caret = CaretXY();
    const int y = caretY_;
    const QString text = GetLineText();
    const int length = static_cast<int>(text.size());
    TTextPoint target = caret;
    int newLine = y + 1;
    if (length > 0 && caretX_ > 1 && caretX_ <= length) {
        const QString head = text.left(caretX_ - 1);
        const QString tail = text.mid(caretX_ - 1);
        ProperSetLine(y - 1, head);
        const QString indent = GetLeftSpacing(LeftSpacesEx(head, true), true);
        lines_->Insert(y, indent + tail);
        // Blanks and tabs the head lost to trimming go with the moved text, so the undo
        // gives back exactly what stood there.
        const QString trimmed = head.mid(LineAt(y).size());
        undoList_->AddChange(crLineBreak, caret, caret, trimmed + tail, smNormal);
        target = TTextPoint{static_cast<int>(indent.size()) + 1, y + 1};
    } else if (length > 0 && caretX_ == 1) {
        lines_->Insert(y - 1, QString());
        undoList_->AddChange(crLineBreak, caret, caret, text, smNormal);
        target = TTextPoint{1, y + 1};
        newLine = y;
    } else if (length > 0) {
        undoList_->AddChange(crLineBreak, caret, caret, QString(), smNormal);
        QString source;
        int indent = 0;
        for (int above = y; above >= 1 && HasOption(eoAutoIndent); --above) {
            source = LineAt(above);
            if (!source.isEmpty()) {
                indent = LeftSpaces(source);
                break;
            }
        }
        lines_->Insert(y, QString());
        if (moveCaret) {
            if (indent > 0) {
                // Stored like every edited line: a trimming page keeps no line of blanks
                // that a later edit would trim without a record.
                ProperSetLine(y, source.left(indent));
            }
            target = TTextPoint{indent + 1, y + 1};
        }
    } else {
        int indent = 0;
        for (int above = y - 1; above >= 1 && HasOption(eoAutoIndent); --above) {
            const QString line = LineAt(above);
            if (!line.isEmpty()) {
                indent = LeftSpacesEx(line, true);
                break;
            }
        }
        undoList_->AddChange(crLineBreak, caret, caret, QString(), smNormal);
        lines_->Insert(y - 1, QString());
        target = TTextPoint{indent + 1, y + 1};
        newLine = y;
    }
    DoLinesInserted(newLine, 1);
    SetCaretXY(moveCaret ? target : caret);
    SetBlockBegin(CaretXY());
    EnsureCursorPosVisible();
    ResetLastCaretX();
}

// --- typing ------------------------------------------------------------------------------

void TCustomCodeEdit::TypeChar(QChar c)
{
    if (c.unicode() < 32 || c.unicode() == 127) {
        return;
    }
    if (SelAvail()) {
        BeginUndoBlock();
        try {
            undoList_->AddChange(crSelDelete, BlockBegin(), BlockEnd(), GetSelText(), selectionMode_);
            const TTextPoint start = ReplacementStart();
            SetSelTextRaw(QString(c));
            undoList_->AddChange(crInsert, start, CaretXY(), QString(), smNormal);
        } catch (...) {
            EndUndoBlock();
            throw;
        }
        EndUndoBlock();
    } else {
        TScrollPastEolHold pastEol(*this);
        const int y = caretY_;
        QString line = GetLineText();
        const int length = static_cast<int>(line.size());
        int fill = 0;
        if (length < caretX_) {
            const int count = caretX_ - length - (insertMode_ ? 1 : 0);
            const QString blanks = length > 0 ? Blanks(count) : GetLeftSpacing(count, true);
            fill = static_cast<int>(blanks.size());
            line += blanks;
        }
        if (insertMode_) {
            // An empty line filled with tabs is shorter than the caret column.
            const int at = length == 0 ? fill + 1 : caretX_;
            line.insert(at - 1, c);
            ProperSetLine(y - 1, line);
            SetCaretXY(TTextPoint{at + 1, y});
            const TTextPoint start{at, y};
            if (fill > 0) {
                BeginUndoBlock();
                undoList_->AddChange(crBlanksAdded, start, TTextPoint{at - fill, y}, QString(), smNormal);
                undoList_->AddChange(crInsert, start, CaretXY(), QString(), smNormal);
                EndUndoBlock();
            } else {
                undoList_->AddChange(crInsert, start, CaretXY(), QString(), smNormal);
            }
        } else {
            const int at = std::min(caretX_, static_cast<int>(line.size()) + 1);
            const int count = at <= line.size() ? CharLength(line, at - 1) : 0;
            const QString replaced = line.mid(at - 1, count);
            // Half a pair is never left behind: its second half becomes a blank.
            line.replace(at - 1, count, count == 2 ? QString(c) + QLatin1Char(' ') : QString(c));
            ProperSetLine(y - 1, line);
            undoList_->AddChange(crInsert, TTextPoint{at, y}, TTextPoint{at + count, y}, replaced, smNormal);
            SetCaretXY(TTextPoint{at + 1, y});
        }
    }
    ScrollAfterTyping();
    if (wordWrap_) {
        RewrapAfterTyping();
    }
    PaintTransient(ttAfter);
}

void TCustomCodeEdit::TypeText(const QString& text)
{
    if (SelAvail()) {
        BeginUndoBlock();
        try {
            undoList_->AddChange(crSelDelete, BlockBegin(), BlockEnd(), GetSelText(), selectionMode_);
            const TTextPoint start = ReplacementStart();
            SetSelTextRaw(text);
            undoList_->AddChange(crInsert, start, CaretXY(), QString(), smNormal);
        } catch (...) {
            EndUndoBlock();
            throw;
        }
        EndUndoBlock();
        InvalidateAllLines();
        return;
    }
    TScrollPastEolHold pastEol(*this);
    QString line = GetLineText();
    const int length = static_cast<int>(line.size());
    if (length < caretX_) {
        line += Blanks(caretX_ - length - (insertMode_ ? 1 : 0));
    }
    QString inserted = text;
    QString taken;
    if (!insertMode_) {
        int count = std::min(static_cast<int>(text.size()), static_cast<int>(line.size()) - (caretX_ - 1));
        if (count > 0 && IsTrailPosition(line, caretX_ + count)) {
            ++count;
            inserted += QLatin1Char(' ');
        }
        taken = line.mid(caretX_ - 1, count);
        line.remove(caretX_ - 1, count);
    }
    line.insert(caretX_ - 1, inserted);
    const TTextPoint start = CaretXY();
    ProperSetLine(caretY_ - 1, line);
    SetCaretX(caretX_ + static_cast<int>(inserted.size()));
    undoList_->AddChange(crInsert, start, CaretXY(), taken, smNormal);
    ScrollAfterTyping();
}

void TCustomCodeEdit::ScrollAfterTyping()
{
    if (caretX_ >= leftChar_ + charsInWindow_) {
        SetLeftChar(leftChar_ + std::min(25, charsInWindow_ - 1));
    }
}

void TCustomCodeEdit::InsertAtCaret(const QString& text)
{
    TSelectionModeHold normal(*this, smNormal);
    SetBlockBegin(CaretXY());
    SetSelTextPrimitive(smNormal, text);
    SetBlockBegin(CaretXY());
}

// --- the soft wrap after an edit -----------------------------------------------------------

void TCustomCodeEdit::RewrapAfterDeletion(bool ensureVisible)
{
    if (caretY_ < 1 || caretY_ > LineCount() || LineAt(caretY_).size() >= charsInWindow_) {
        return;
    }
    const int head = lines_->RewrapLine(caretY_ - 1);
    TTextPoint p = CaretXY();
    // The caret follows its character into the next piece.
    while (p.y < LineCount() && lines_->IsContinuationLine(p.y) && LineAt(p.y).size() < p.x - 1) {
        p.x -= static_cast<int>(LineAt(p.y).size());
        ++p.y;
    }
    MarkRescan(head, p.y - 1);
    SetCaretXY(p);
    InvalidateAllLines();
    if (ensureVisible) {
        EnsureCursorPosVisible();
    }
}

void TCustomCodeEdit::RewrapAfterTyping()
{
    TTextPoint p = CaretXY();
    if (p.y < 1 || p.y > LineCount()) {
        return;
    }
    const int pieceLength = static_cast<int>(LineAt(p.y).size());
    if (pieceLength + 1 >= charsInWindow_ && charsInWindow_ > p.x && p.y > 1) {
        const int before = static_cast<int>(LineAt(p.y - 1).size());
        const int head = lines_->RewrapLine(p.y - 1);
        p.x = before + p.x - static_cast<int>(LineAt(p.y - 1).size());
        MarkRescan(head, p.y - 1);
        SetCaretXY(p);
        SetBlockBegin(CaretXY());
        InvalidateAllLines();
    }
    if (p.y <= LineCount() && LineAt(p.y).size() <= p.x) {
        const int head = lines_->RewrapLine(p.y - 1);
        while (p.y < LineCount() && lines_->IsContinuationLine(p.y) && LineAt(p.y).size() < p.x - 1) {
            p.x -= static_cast<int>(LineAt(p.y).size());
            ++p.y;
        }
        MarkRescan(head, p.y - 1);
        SetLeftChar(1);
        SetCaretXY(p);
        InvalidateAllLines();
    }
}
