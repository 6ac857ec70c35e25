#pragma once
// The editor's fixed texts that highlighters, hints and key bindings show.

// Attribute names.
inline constexpr char sCodeAttrDefaultPackages[] = "Default packages";
inline constexpr char sCodeAttrNumber[] = "Number";
inline constexpr char sCodeAttrAssembler[] = "Assembler";
inline constexpr char sCodeAttrCharacter[] = "Character";
inline constexpr char sCodeAttrComment[] = "Comment";
inline constexpr char sCodeAttrDataType[] = "Data type";
inline constexpr char sCodeAttrException[] = "Exception";
inline constexpr char sCodeAttrFloat[] = "Float";
inline constexpr char sCodeAttrFunction[] = "Function";
inline constexpr char sCodeAttrHexadecimal[] = "Hexadecimal";
inline constexpr char sCodeAttrIdentifier[] = "Identifier";
inline constexpr char sCodeAttrIllegalChar[] = "Illegal char";
inline constexpr char sCodeAttrOctal[] = "Octal";
inline constexpr char sCodeAttrPLSQL[] = "Reserved word (PL/SQL)";
inline constexpr char sCodeAttrPreprocessor[] = "Preprocessor";
inline constexpr char sCodeAttrReservedWord[] = "Reserved word";
inline constexpr char sCodeAttrSpace[] = "Space";
inline constexpr char sCodeAttrSQLPlus[] = "SQL*Plus command";
inline constexpr char sCodeAttrString[] = "String";
inline constexpr char sCodeAttrSymbol[] = "Symbol";
inline constexpr char sCodeAttrTableName[] = "Table name";
inline constexpr char sCodeAttrVariable[] = "Variable";

// File-dialog filters and language names.
inline constexpr char sCodeFilterPascal[] = "Pascal Files (*.pas,*.dpr,*.dpk,*.inc)|*.pas;*.dpr;*.dpk;*.inc";
inline constexpr char sCodeFilterCPP[] = "C++ Files (*.c,*.cpp,*.h,*.hpp)|*.c;*.cpp;*.h;*.hpp";
inline constexpr char sCodeFilterSQL[] = "SQL Files (*.sql)|*.sql";
inline constexpr char sCodeLangPascal[] = "ObjectPascal";
inline constexpr char sCodeLangSQL[] = "SQL";
inline constexpr char sCodeLangCPP[] = "C++";

// Hints of the editor and the print preview (printf forms).
inline constexpr char sCodeHintLineRange[] = "%d - %d";
inline constexpr char sCodeHintTopLine[] = "Top Line: %d";
inline constexpr char sCodeHintPage[] = "Page: %d";

inline constexpr char sCodeShortcutExists[] = "Shortcut already exists";
