#pragma once
// Every action of the editor is a numbered command. Numbers from ecUserFirst on are
// free for the application and for plug-ins. A caret move plus 100 is the same move
// extending the selection.

#include <QString>

#include <cstdint>

using TCodeEditorCommand = std::uint16_t;

constexpr TCodeEditorCommand ecNone = 0;
constexpr TCodeEditorCommand ecLeft = 1;
constexpr TCodeEditorCommand ecRight = 2;
constexpr TCodeEditorCommand ecUp = 3;
constexpr TCodeEditorCommand ecDown = 4;
constexpr TCodeEditorCommand ecWordLeft = 5;
constexpr TCodeEditorCommand ecWordRight = 6;
constexpr TCodeEditorCommand ecLineStart = 7;
constexpr TCodeEditorCommand ecLineEnd = 8;
constexpr TCodeEditorCommand ecPageUp = 9;
constexpr TCodeEditorCommand ecPageDown = 10;
constexpr TCodeEditorCommand ecPageLeft = 11;
constexpr TCodeEditorCommand ecPageRight = 12;
constexpr TCodeEditorCommand ecPageTop = 13;
constexpr TCodeEditorCommand ecPageBottom = 14;
constexpr TCodeEditorCommand ecEditorTop = 15;
constexpr TCodeEditorCommand ecEditorBottom = 16;
constexpr TCodeEditorCommand ecGotoXY = 17;
constexpr TCodeEditorCommand ecSelLeft = 101;
constexpr TCodeEditorCommand ecSelRight = 102;
constexpr TCodeEditorCommand ecSelUp = 103;
constexpr TCodeEditorCommand ecSelDown = 104;
constexpr TCodeEditorCommand ecSelWordLeft = 105;
constexpr TCodeEditorCommand ecSelWordRight = 106;
constexpr TCodeEditorCommand ecSelLineStart = 107;
constexpr TCodeEditorCommand ecSelLineEnd = 108;
constexpr TCodeEditorCommand ecSelPageUp = 109;
constexpr TCodeEditorCommand ecSelPageDown = 110;
constexpr TCodeEditorCommand ecSelPageLeft = 111;
constexpr TCodeEditorCommand ecSelPageRight = 112;
constexpr TCodeEditorCommand ecSelPageTop = 113;
constexpr TCodeEditorCommand ecSelPageBottom = 114;
constexpr TCodeEditorCommand ecSelEditorTop = 115;
constexpr TCodeEditorCommand ecSelEditorBottom = 116;
constexpr TCodeEditorCommand ecSelGotoXY = 117;
constexpr TCodeEditorCommand ecSelectAll = 199;
constexpr TCodeEditorCommand ecDeleteLastChar = 501;
constexpr TCodeEditorCommand ecDeleteChar = 502;
constexpr TCodeEditorCommand ecDeleteWord = 503;
constexpr TCodeEditorCommand ecDeleteLastWord = 504;
constexpr TCodeEditorCommand ecDeleteBOL = 505;
constexpr TCodeEditorCommand ecDeleteEOL = 506;
constexpr TCodeEditorCommand ecDeleteLine = 507;
constexpr TCodeEditorCommand ecClearAll = 508;
constexpr TCodeEditorCommand ecLineBreak = 509;
constexpr TCodeEditorCommand ecInsertLine = 510;
constexpr TCodeEditorCommand ecChar = 511;
constexpr TCodeEditorCommand ecImeStr = 550;
constexpr TCodeEditorCommand ecUndo = 601;
constexpr TCodeEditorCommand ecRedo = 602;
constexpr TCodeEditorCommand ecCut = 603;
constexpr TCodeEditorCommand ecCopy = 201;
constexpr TCodeEditorCommand ecPaste = 604;
constexpr TCodeEditorCommand ecScrollUp = 211;
constexpr TCodeEditorCommand ecScrollDown = 212;
constexpr TCodeEditorCommand ecScrollLeft = 213;
constexpr TCodeEditorCommand ecScrollRight = 214;
constexpr TCodeEditorCommand ecInsertMode = 221;
constexpr TCodeEditorCommand ecOverwriteMode = 222;
constexpr TCodeEditorCommand ecToggleMode = 223;
constexpr TCodeEditorCommand ecBlockIndent = 610;
constexpr TCodeEditorCommand ecBlockUnindent = 611;
constexpr TCodeEditorCommand ecTab = 612;
constexpr TCodeEditorCommand ecShiftTab = 613;
constexpr TCodeEditorCommand ecMatchBracket = 250;
constexpr TCodeEditorCommand ecNormalSelect = 231;
constexpr TCodeEditorCommand ecColumnSelect = 232;
constexpr TCodeEditorCommand ecLineSelect = 233;
constexpr TCodeEditorCommand ecAutoCompletion = 650;
constexpr TCodeEditorCommand ecUserFirst = 1001;
constexpr TCodeEditorCommand ecContextHelp = 490;
constexpr TCodeEditorCommand ecGotoMarker0 = 301;
constexpr TCodeEditorCommand ecGotoMarker1 = 302;
constexpr TCodeEditorCommand ecGotoMarker2 = 303;
constexpr TCodeEditorCommand ecGotoMarker3 = 304;
constexpr TCodeEditorCommand ecGotoMarker4 = 305;
constexpr TCodeEditorCommand ecGotoMarker5 = 306;
constexpr TCodeEditorCommand ecGotoMarker6 = 307;
constexpr TCodeEditorCommand ecGotoMarker7 = 308;
constexpr TCodeEditorCommand ecGotoMarker8 = 309;
constexpr TCodeEditorCommand ecGotoMarker9 = 310;
constexpr TCodeEditorCommand ecSetMarker0 = 351;
constexpr TCodeEditorCommand ecSetMarker1 = 352;
constexpr TCodeEditorCommand ecSetMarker2 = 353;
constexpr TCodeEditorCommand ecSetMarker3 = 354;
constexpr TCodeEditorCommand ecSetMarker4 = 355;
constexpr TCodeEditorCommand ecSetMarker5 = 356;
constexpr TCodeEditorCommand ecSetMarker6 = 357;
constexpr TCodeEditorCommand ecSetMarker7 = 358;
constexpr TCodeEditorCommand ecSetMarker8 = 359;
constexpr TCodeEditorCommand ecSetMarker9 = 360;
constexpr TCodeEditorCommand ecUpperCase = 620;
constexpr TCodeEditorCommand ecLowerCase = 621;
constexpr TCodeEditorCommand ecToggleCase = 622;
constexpr TCodeEditorCommand ecTitleCase = 623;
constexpr TCodeEditorCommand ecString = 630;

// The move commands and their selecting twins differ by this much.
constexpr TCodeEditorCommand ecSelection = 100;

struct TCodeEditorCommandName {
    TCodeEditorCommand command;
    const char* identifier;
};

// The named commands, in their fixed order.
constexpr int EditorCommandNameCount = 96;
extern const TCodeEditorCommandName EditorCommandNames[EditorCommandNameCount];

// False when the number has no identifier.
bool CommandToIdent(TCodeEditorCommand command, QString& identifier);
// False when the identifier names no command (compared without regard to case).
bool IdentToCommand(const QString& identifier, TCodeEditorCommand& command);
// The identifier, or the decimal number when the command has none.
QString CommandToText(TCodeEditorCommand command);
