// Copying, cutting and pasting. The clipboard carries the text twice: as plain text and
// in the private format that also keeps the selection mode, so a column or line block
// pastes back in its own shape.
#include "editor/control/CodeEdit.h"

#include "platform/core/services/Clipboard.h"

namespace {
const char* const kCopyFailed = "Clipboard copy operation failed";
const char* const kPasteFailed = "Clipboard paste operation failed.";

// The private block's mode and text; false when the block is not one of ours.
bool ReadPrivateBlock(const std::string& block, TCodeSelectionMode& mode, QString& text)
{
    if (block.size() < 2 || static_cast<unsigned char>(block[0]) > smColumn) {
        return false;
    }
    const std::size_t end = block.find('\0', 1);
    if (end == std::string::npos) {
        return false;
    }
    mode = static_cast<TCodeSelectionMode>(block[0]);
    text = QString::fromUtf8(block.data() + 1, static_cast<qsizetype>(end - 1));
    return true;
}
} // namespace

void TCustomCodeEdit::WriteClipboard(const QString& text)
{
    if (text.isEmpty()) {
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    const std::string plain(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    std::string block;
    block.reserve(plain.size() + 2);
    block += static_cast<char>(selectionMode_);
    block += plain;
    block += '\0';
    IClipboard& clipboard = Clipboard();
    bool written = false;
    {
        TClipboardOpener open(clipboard);
        written = open.IsOpen() && clipboard.Clear() && clipboard.SetData(ClipboardTextFormat, plain) &&
                  clipboard.SetData(CodeEditClipboardFormat, block);
    }
    if (!written) {
        throw ECodeEditError(kCopyFailed);
    }
}

void TCustomCodeEdit::CopyToClipboard()
{
    if (SelAvail()) {
        WriteClipboard(GetSelText());
    }
}

void TCustomCodeEdit::CutToClipboard()
{
    if (GetReadOnly() || !SelAvail()) {
        return;
    }
    const QString text = GetSelText();
    WriteClipboard(text);
    undoList_->AddChange(crSelDelete, BlockBegin(), BlockEnd(), text, selectionMode_);
    SetSelTextRaw(QString());
}

void TCustomCodeEdit::PasteFromClipboard()
{
    if (GetReadOnly()) {
        return;
    }
    PaintTransient(ttBefore);
    BeginUndoBlock();
    pasting_ = true;
    const bool wrapped = wordWrap_;
    // The guaranteed last step: the wrap comes back, the block closes.
    const auto finish = [this, wrapped] {
        if (wrapped && !wordWrap_) {
            SetWordWrap(true);
            undoList_->AddChange(crWrapOn, CaretXY(), CaretXY(), QString(), smNormal);
        }
        EndUndoBlock();
        pasting_ = false;
        EnsureCursorPosVisible();
        StatusChanged(scSelection);
        PaintTransient(ttAfter);
    };
    try {
        IClipboard& clipboard = Clipboard();
        std::string block;
        std::string plain;
        bool haveBlock = false;
        bool havePlain = false;
        if (clipboard.HasFormat(CodeEditClipboardFormat) || clipboard.HasFormat(ClipboardTextFormat)) {
            TClipboardOpener open(clipboard);
            if (!open.IsOpen()) {
                throw ECodeEditError(kPasteFailed);
            }
            if (clipboard.HasFormat(CodeEditClipboardFormat)) {
                if (!clipboard.GetData(CodeEditClipboardFormat, block)) {
                    throw ECodeEditError(kPasteFailed);
                }
                haveBlock = true;
            }
            havePlain = clipboard.HasFormat(ClipboardTextFormat) && clipboard.GetData(ClipboardTextFormat, plain);
        }
        TCodeSelectionMode mode = smNormal;
        QString text;
        if (haveBlock && ReadPrivateBlock(block, mode, text)) {
            PasteBlock(mode, text);
        } else if (havePlain) {
            PastePlainText(QString::fromUtf8(plain.data(), static_cast<qsizetype>(plain.size())));
        } else if (haveBlock) {
            // Not a block of ours and no plain text beside it: its bytes are the text.
            PastePlainText(QString::fromUtf8(block.data(), static_cast<qsizetype>(block.size())));
        }
    } catch (...) {
        try {
            finish();
        } catch (...) {
            // the paste's own failure is the one to report
        }
        throw;
    }
    finish();
}

void TCustomCodeEdit::PasteBlock(TCodeSelectionMode mode, const QString& text)
{
    if (SelAvail()) {
        undoList_->AddChange(crSelDelete, BlockBegin(), BlockEnd(), GetSelText(), selectionMode_);
    }
    if (wordWrap_) {
        undoList_->AddChange(crWrapOff, CaretXY(), CaretXY(), QString(), selectionMode_);
        // The selection must name the same text once the lines are joined.
        const TTextPoint anchor = UnwrappedPoint(blockBegin_);
        const TTextPoint end = UnwrappedPoint(blockEnd_);
        SetWordWrap(false);
        blockBegin_ = anchor;
        blockEnd_ = end;
    }
    TTextPoint start = CaretXY();
    if (SelAvail()) {
        start = ReplacementStart();
        const TTextPoint begin = BlockBegin();
        const TTextPoint end = BlockEnd();
        blockBegin_ = begin;
        blockEnd_ = end;
    }
    int columnWidth = 0;
    SetSelTextPrimitive(mode, text, &columnWidth, true);
    // The end of the inserted text (the selection has collapsed there).
    const TTextPoint end = CaretXY();
    switch (mode) {
    case smNormal: undoList_->AddChange(crPaste, start, end, GetSelText(), smNormal); break;
    case smLine:
        if (caretX_ == 1) {
            undoList_->AddChange(crPaste, TTextPoint{1, start.y}, TTextPoint{charsInWindow_, end.y - 1}, GetSelText(),
                                 smLine);
        } else {
            undoList_->AddChange(crPaste, TTextPoint{1, start.y}, end, GetSelText(), smNormal);
        }
        break;
    case smColumn:
        SetCaretXY(TTextPoint{std::min(start.x, end.x), std::max(start.y, end.y) + 1});
        break;
    }
}

void TCustomCodeEdit::PastePlainText(const QString& text)
{
    if (SelAvail()) {
        undoList_->AddChange(crSelDelete, BlockBegin(), BlockEnd(), GetSelText(), selectionMode_);
    }
    const TTextPoint start = SelAvail() ? ReplacementStart() : CaretXY();
    if (SelAvail()) {
        const TTextPoint begin = BlockBegin();
        blockEnd_ = BlockEnd();
        blockBegin_ = begin;
    }
    LockUndo();
    try {
        ReplaceSelText(text);
    } catch (...) {
        UnlockUndo();
        throw;
    }
    UnlockUndo();
    undoList_->AddChange(crPaste, start, CaretXY(), GetSelText(), smNormal);
}
