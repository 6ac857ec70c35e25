#include "editor/CodeHighlighters.h"

#include "editor/CodeHighlighterCpp.h"
#include "editor/CodeHighlighterList.h"
#include "editor/CodeHighlighterPas.h"
#include "editor/CodeHighlighterSQL.h"
#include "editor/CodeRuleHighlighter.h"

void RegisterEditorHighlighters()
{
    RegisterHighlighterClass<TCodeRuleHighlighter>();
    RegisterHighlighterClass<TCodeSQLHighlighter>();
    RegisterHighlighterClass<TCodePasHighlighter>();
    RegisterHighlighterClass<TCodeCppHighlighter>();
}
