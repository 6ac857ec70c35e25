#pragma once
// A scripted session with the editor model: an editor in a recording host, a manual
// event loop and a clipboard of its own. It types characters, presses keys named as
// shortcuts are written ("Ctrl+Shift+Left"), clicks at cells, and reads back the lines,
// caret, selection, mode and undo records as text, so a test reads like what a user did.

#include "RecordingHost.h"
#include "editor/control/CodeEdit.h"
#include "platform/core/services/Clipboard.h"
#include "platform/core/services/ManualEventLoop.h"

#include <QString>
#include <QStringList>

#include <ostream>
#include <stdexcept>
#include <string>

// Lines written as one string: "abc|def".
inline QStringList LinesOf(const char* joined) { return QString::fromUtf8(joined).split(QLatin1Char('|')); }

inline void PrintTo(const TTextPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

class TEditorSession {
public:
    explicit TEditorSession(const QStringList& lines = {})
    {
        editor.SetHost(&host);
        for (const QString& line : lines) {
            editor.Lines().Add(line);
        }
        host.Forget();
    }

    // --- input ---
    void Type(const QString& text)
    {
        if (charPending_) {
            // A key that made a command and no character (End, arrows) leaves the editor
            // waiting to drop one; a keyboard's next key goes down first and ends that.
            TVirtualKey next = 0;
            editor.KeyDown(next, ssNone);
            charPending_ = false;
        }
        for (QChar c : text) {
            editor.KeyPress(c);
        }
    }
    // The key goes down, then, as a keyboard sends it, the character it makes.
    void Press(const std::string& shortcut)
    {
        const TShortCut value = TextToShortCut(shortcut);
        if (value == 0) {
            throw std::invalid_argument("no such key: " + shortcut);
        }
        TVirtualKey key = 0;
        TShiftState shift;
        ShortCutToKey(value, key, shift);
        const QChar c = KeyCharacter(key, shift);
        editor.KeyDown(key, shift);
        charPending_ = c.isNull() && key == 0;
        if (!c.isNull()) {
            QChar typed = c;
            editor.KeyPress(typed);
        }
    }
    void Press(std::initializer_list<const char*> shortcuts)
    {
        for (const char* s : shortcuts) {
            Press(s);
        }
    }

    void Select(TTextPoint anchor, TTextPoint end, TCodeSelectionMode mode = smNormal)
    {
        editor.SetSelectionMode(mode);
        editor.SetBlockBegin(anchor);
        editor.SetBlockEnd(end);
    }

    // Client pixel of the middle of a cell's left half.
    int CellX(int column) const { return editor.TextOffset() + (column - 1) * TRecordingHost::CellWidth + 2; }
    int CellY(int line) const { return (line - editor.TopLine()) * TRecordingHost::CellHeight + 8; }
    void MouseDown(int column, int line, TShiftState shift = ssNone, TMouseButton button = mbLeft)
    {
        editor.MouseDown(button, shift, CellX(column), CellY(line));
    }
    void MouseUp(int column, int line, TShiftState shift = ssNone, TMouseButton button = mbLeft)
    {
        editor.MouseUp(button, shift, CellX(column), CellY(line));
    }
    void ClickAt(int column, int line, TShiftState shift = ssNone)
    {
        MouseDown(column, line, shift);
        MouseUp(column, line, shift);
    }
    // Left button held from one cell to another and released there.
    void DragTo(int column, int line)
    {
        editor.MouseMove(TShiftState(TShiftState::ssLeft), CellX(column), CellY(line));
        MouseUp(column, line);
    }

    // --- reading back ---
    QString Text() const { return editor.Lines().ToStringList().join(QLatin1Char('|')); }
    static std::string Point(TTextPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    static const char* ModeName(TCodeSelectionMode mode)
    {
        return mode == smNormal ? "normal" : mode == smLine ? "line" : "column";
    }
    // "caret 3,1" or "caret 3,1 sel 1,1-3,1 normal" (anchor, then end point).
    std::string State() const
    {
        std::string s = "caret " + Point(editor.CaretXY());
        if (editor.SelAvail()) {
            s += std::string(" sel ") + Point(editor.SelectionAnchor()) + "-" + Point(editor.SelectionEnd()) + " " +
                 ModeName(editor.SelectionMode());
        }
        return s;
    }
    // The undo records, oldest first: "reason start-end 'text' mode", separated by "; ".
    std::string UndoRecords() { return Records(editor.UndoList()); }
    static std::string Records(const TCodeEditUndoList& list)
    {
        std::string s;
        for (int i = 0; i < list.ItemCount(); ++i) {
            const TCodeEditUndoItem& item = list.Item(i);
            if (!s.empty()) {
                s += "; ";
            }
            QString text = item.ChangeStr;
            text.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
            s += std::to_string(item.ChangeReason) + " " + Point(item.ChangeStartPos) + "-" +
                 Point(item.ChangeEndPos) + " '" + text.toStdString() + "' " + ModeName(item.ChangeSelMode);
        }
        return s;
    }

    // Puts a text on the clipboard as the editor's private block of a mode.
    void ClipboardBlock(TCodeSelectionMode mode, const QString& text)
    {
        const QByteArray utf8 = text.toUtf8();
        std::string block(1, static_cast<char>(mode));
        block.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        block += '\0';
        ClipboardBytes(CodeEditClipboardFormat, block);
        ClipboardBytes(ClipboardTextFormat, std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    }
    void ClipboardBytes(std::string_view format, const std::string& bytes)
    {
        clipboard.Open();
        clipboard.SetData(format, bytes);
        clipboard.Close();
    }

    TManualEventLoop loop;
    TEventLoopScope loopScope{&loop};
    TMemoryClipboard clipboard;
    TClipboardScope clipboardScope{&clipboard};
    TRecordingHost host;
    TCodeEdit editor;

private:
    bool charPending_ = false;
    static QChar KeyCharacter(TVirtualKey key, TShiftState shift)
    {
        switch (key) {
        case VK_RETURN: return QLatin1Char('\r');
        case VK_TAB: return QLatin1Char('\t');
        case VK_BACK: return QChar(8);
        case VK_SPACE: return QLatin1Char(' ');
        default: break;
        }
        if (shift.Contains(TShiftState::ssAlt)) {
            return QChar();
        }
        if (key >= 'A' && key <= 'Z') {
            if (shift.Contains(TShiftState::ssCtrl)) {
                return QChar(key & 0x1F);
            }
            return QChar(shift.Contains(TShiftState::ssShift) ? key : key + 32);
        }
        if (key >= '0' && key <= '9' && !shift.Contains(TShiftState::ssCtrl)) {
            return QChar(key);
        }
        return QChar();
    }
};
