#pragma once
// The small value types of the editor control: its option set, the status changes it
// reports, its state flags and the enumerations of its published properties.

#include "platform/core/services/MouseButtons.h"

#include <cstdint>
#include <initializer_list>

// The option bits in their fixed order; settings files store the set as a number.
enum TCodeEditorOption : std::uint8_t {
    eoAltSetsColumnMode,
    eoAutoIndent,
    eoAutoSizeMaxLeftChar,
    eoDisableScrollArrows,
    eoDragDropEditing,
    eoDropFiles,
    eoEnhanceHomeKey,
    eoGroupUndo,
    eoHalfPageScroll,
    eoHideShowScrollbars,
    eoKeepCaretX,
    eoNoCaret,
    eoNoSelection,
    eoRightMouseMovesCursor,
    eoScrollByOneLess,
    eoScrollHintFollows,
    eoScrollPastEof,
    eoScrollPastEol,
    eoShowScrollHint,
    eoShowSpecialChars,
    eoSmartTabDelete,
    eoSmartTabs,
    eoSpecialLineDefaultFg,
    eoTabIndent,
    eoTabsToSpaces,
    eoTrimTrailingSpaces,
};

class TCodeEditorOptions {
public:
    constexpr TCodeEditorOptions() = default;
    constexpr TCodeEditorOptions(std::initializer_list<TCodeEditorOption> options)
    {
        for (TCodeEditorOption o : options) {
            bits_ |= Bit(o);
        }
    }
    static constexpr TCodeEditorOptions FromBits(std::uint32_t bits)
    {
        TCodeEditorOptions o;
        o.bits_ = bits;
        return o;
    }

    constexpr std::uint32_t Bits() const { return bits_; }
    constexpr bool Contains(TCodeEditorOption o) const { return (bits_ & Bit(o)) != 0; }
    constexpr TCodeEditorOptions With(TCodeEditorOption o) const { return FromBits(bits_ | Bit(o)); }
    constexpr TCodeEditorOptions Without(TCodeEditorOption o) const { return FromBits(bits_ & ~Bit(o)); }
    constexpr TCodeEditorOptions Set(TCodeEditorOption o, bool on) const { return on ? With(o) : Without(o); }
    constexpr bool operator==(const TCodeEditorOptions&) const = default;

private:
    static constexpr std::uint32_t Bit(TCodeEditorOption o) { return std::uint32_t{1} << o; }
    std::uint32_t bits_ = 0;
};

// eoAutoIndent, eoDragDropEditing, eoGroupUndo, eoScrollPastEol, eoShowScrollHint,
// eoSmartTabDelete, eoSmartTabs, eoTabsToSpaces, eoTrimTrailingSpaces.
constexpr TCodeEditorOptions CodeEditDefaultOptions = TCodeEditorOptions::FromBits(53870738);

// What changed, reported through OnStatusChange; gathered while painting is locked.
using TCodeStatusChanges = std::uint16_t;
constexpr TCodeStatusChanges scAll = 0x01;
constexpr TCodeStatusChanges scCaretX = 0x02;
constexpr TCodeStatusChanges scCaretY = 0x04;
constexpr TCodeStatusChanges scLeftChar = 0x08;
constexpr TCodeStatusChanges scTopLine = 0x10;
constexpr TCodeStatusChanges scInsertMode = 0x20;
constexpr TCodeStatusChanges scModified = 0x40;
constexpr TCodeStatusChanges scSelection = 0x80;
constexpr TCodeStatusChanges scReadOnly = 0x100;

// The control's state bits.
enum TCodeEditState : std::uint8_t {
    sfCaretChanged,       // caret update pending
    sfScrollbarChanged,   // scroll-bar update pending
    sfLinesChanging,      // the buffer is changing: invalidations are collected
    sfIgnoreNextChar,     // the last key-down made a command; its character is dropped
    sfCaretVisible,       // the caret is shown
    sfDblClicked,         // a double click is in progress
    sfPossibleGutterClick,// pressed in the gutter
    sfWaitForDragging,    // pressed on the selection: a drag may start
    sfScrolledUnderLock,  // the view scrolled since the paint lock went up
};

enum TCodeEditCaretType : std::uint8_t { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };
// The scroll bars a control shows (ssNone is also a shift state, hence the scoped names).
enum class TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TScrollHintFormat : std::uint8_t { shfTopLineOnly, shfTopToBottom };
enum TBorderStyle : std::uint8_t { bsNone, bsSingle };

// The two moments at which the transient painting (bracket marks and the like) is asked
// to draw: before a change removes what it drew, and after.
enum TTransientType : std::uint8_t { ttBefore, ttAfter };

// The platform's standard edit actions that an editor with the focus carries out.
enum TCodeEditAction : std::uint8_t { eaCut, eaCopy, eaPaste, eaDelete, eaUndo, eaSelectAll };

// The change reasons the control records in its undo list (crNothing and crGroupBreak
// are the list's own).
constexpr std::uint8_t crInsert = 0;
constexpr std::uint8_t crPaste = 1;
constexpr std::uint8_t crDragDropInsert = 2;
constexpr std::uint8_t crDeleteCaretToStart = 3;
constexpr std::uint8_t crSelDelete = 4;
constexpr std::uint8_t crLineBreak = 5;
constexpr std::uint8_t crIndent = 6;
constexpr std::uint8_t crUnindent = 7;
constexpr std::uint8_t crDeleteBeforeCaret = 8;
constexpr std::uint8_t crDeleteAfterCaret = 9;
constexpr std::uint8_t crWrapOn = 19;
constexpr std::uint8_t crWrapOff = 20;
constexpr std::uint8_t crBlanksAdded = 21;
