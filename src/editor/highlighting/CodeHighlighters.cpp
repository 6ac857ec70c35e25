#include "editor/highlighting/CodeHighlighters.h"

#include "editor/highlighting/CodeHighlighterCpp.h"
#include "editor/highlighting/CodeHighlighterList.h"
#include "editor/highlighting/CodeHighlighterPas.h"
#include "editor/highlighting/CodeHighlighterSQL.h"
#include "editor/highlighting/CodeRuleHighlighter.h"

void RegisterEditorHighlighters()
{
    RegisterHighlighterClass<TCodeRuleHighlighter>();
    RegisterHighlighterClass<TCodeSQLHighlighter>();
    RegisterHighlighterClass<TCodePasHighlighter>();
    RegisterHighlighterClass<TCodeCppHighlighter>();
}
