#pragma once
// Steps of a scripted session for tables of cases: keys pressed by name, text typed,
// and a caret placed before the next step.

#include "EditorSession.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

using TSessionStep = std::function<void(TEditorSession&)>;

inline TSessionStep Keys(std::initializer_list<const char*> keys)
{
    std::vector<std::string> list(keys.begin(), keys.end());
    return [list](TEditorSession& s) {
        for (const std::string& key : list) {
            s.Press(key);
        }
    };
}

inline TSessionStep Typed(const char* text)
{
    return [text](TEditorSession& s) { s.Type(QString::fromUtf8(text)); };
}

inline TSessionStep At(TTextPoint caret, TSessionStep then)
{
    return [caret, then](TEditorSession& s) {
        s.editor.SetCaretXY(caret);
        then(s);
    };
}
