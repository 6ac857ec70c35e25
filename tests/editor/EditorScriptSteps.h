#pragma once
// A scripted editing case in one string, for tables of cases. Words, separated by
// blanks, run in order:
//   Ctrl+Y, BkSp, ...       a key pressed by its shortcut name
//   'text                   typed ("_" types a blank)
//   @3,2                    the caret to column 3 of line 2
//   <1,2  <<1,2  <|1,2      select from that point to the caret: normal, line, column
//   -SmartTabDelete +...    an option off or on (the names below)
//   tab=4  page             tab width; the page settings
//   overwrite  ins          overwrite mode; insert mode
//   ime=xyz  cmd=505        input-method text; a command by its number
//   clipn=a~b clipl= clipc= the clipboard holds a normal, line or column block ("~" a
//                           line break, "_" a blank)
//   maxleft=256             MaxLeftChar
//   find=text               a forward search of the whole text
//   yestoall=old>new        replace with a prompt, its first question answered "Yes to all"
// In clipboard blocks, searches and Runs() texts "x{300}" stands for 300 x's.

#include "EditorPageSettings.h"
#include "EditorSession.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

// A text with its runs written out: "a{3}b" is "aaab".
inline QString ExpandRuns(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype close = text.indexOf(QLatin1Char('}'), i + 2);
        bool isCount = false;
        const int count = i + 1 < text.size() && text[i + 1] == QLatin1Char('{') && close > i + 2
                              ? text.mid(i + 2, close - i - 2).toInt(&isCount)
                              : 0;
        if (isCount) {
            out += QString(count, text[i]);
            i = close;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Lines as LinesOf writes them, with runs: "A{500}B{500}|x".
inline QStringList RunLines(const char* joined) { return ExpandRuns(QString::fromUtf8(joined)).split(QLatin1Char('|')); }

inline TTextPoint ScriptPoint(const QString& text)
{
    const QStringList xy = text.split(QLatin1Char(','));
    return TTextPoint{xy.value(0).toInt(), xy.value(1).toInt()};
}

inline void RunScript(TEditorSession& s, const char* script)
{
    static const std::map<QString, TCodeEditorOption> options = {
        {"AutoIndent", eoAutoIndent},       {"GroupUndo", eoGroupUndo},     {"ScrollPastEol", eoScrollPastEol},
        {"SmartTabDelete", eoSmartTabDelete}, {"SmartTabs", eoSmartTabs},   {"TabsToSpaces", eoTabsToSpaces},
        {"TrimTrailingSpaces", eoTrimTrailingSpaces}, {"EnhanceHomeKey", eoEnhanceHomeKey}};
    TCodeEdit& e = s.editor;
    for (const QString& word : QString::fromUtf8(script).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QChar first = word[0];
        if (first == QLatin1Char('\'')) {
            s.Type(word.mid(1).replace(QLatin1Char('_'), QLatin1Char(' ')));
        } else if (first == QLatin1Char('@')) {
            e.SetCaretXY(ScriptPoint(word.mid(1)));
        } else if (first == QLatin1Char('<')) {
            const bool line = word.startsWith(QLatin1String("<<"));
            const bool column = word.startsWith(QLatin1String("<|"));
            s.Select(ScriptPoint(word.mid(line || column ? 2 : 1)), e.CaretXY(),
                     line ? smLine : column ? smColumn : smNormal);
        } else if ((first == QLatin1Char('-') || first == QLatin1Char('+')) && options.count(word.mid(1))) {
            e.SetOptions(e.Options().Set(options.at(word.mid(1)), first == QLatin1Char('+')));
        } else if (word.startsWith(QLatin1String("tab="))) {
            e.SetTabWidth(word.mid(4).toInt());
        } else if (word == QLatin1String("page")) {
            UsePageSettings(e);
        } else if (word == QLatin1String("overwrite") || word == QLatin1String("ins")) {
            e.SetInsertMode(word == QLatin1String("ins"));
        } else if (word.startsWith(QLatin1String("ime="))) {
            e.ImeResult(word.mid(4));
        } else if (word.startsWith(QLatin1String("clip")) && word.size() > 5 && word[5] == QLatin1Char('=')) {
            const TCodeSelectionMode mode = word[4] == QLatin1Char('l') ? smLine
                                            : word[4] == QLatin1Char('c') ? smColumn
                                                                          : smNormal;
            s.ClipboardBlock(mode, ExpandRuns(word.mid(6))
                                       .replace(QLatin1Char('~'), QLatin1String("\r\n"))
                                       .replace(QLatin1Char('_'), QLatin1Char(' ')));
        } else if (word.startsWith(QLatin1String("maxleft="))) {
            e.SetMaxLeftChar(word.mid(8).toInt());
        } else if (word.startsWith(QLatin1String("find="))) {
            e.SearchAndReplace(ExpandRuns(word.mid(5)), QString(), {sroEntireScope});
        } else if (word.startsWith(QLatin1String("yestoall="))) {
            const QStringList texts = ExpandRuns(word.mid(9)).split(QLatin1Char('>'));
            e.OnReplaceText = [](TObject*, const QString&, const QString&, int, int, TCodeReplaceAction& action) {
                action = rpaReplaceAll;
            };
            e.SearchAndReplace(texts.value(0), texts.value(1), {sroReplaceAll, sroPrompt, sroEntireScope});
            e.OnReplaceText = nullptr;
        } else if (word.startsWith(QLatin1String("cmd="))) {
            e.DispatchCommand(static_cast<TCodeEditorCommand>(word.mid(4).toInt()), QChar(), {});
        } else {
            s.Press(word.toStdString());
        }
    }
}

// One case of a table: a script from a text to a text, caret and undo records.
struct TScriptCase {
    const char* name;
    const char* lines;
    const char* script;
    const char* text;
    const char* state;
    const char* records;
};

inline void PrintTo(const TScriptCase& c, std::ostream* os) { *os << c.name; }

inline std::string ScriptCaseName(const testing::TestParamInfo<TScriptCase>& info) { return info.param.name; }
