#include "editor/CodeLanguageHighlighters.h"

#include "editor/CodeHighlighterCpp.h"
#include "editor/CodeHighlighterList.h"
#include "editor/CodeHighlighterPas.h"
#include "editor/CodeHighlighterSQL.h"

void RegisterLanguageHighlighterClasses()
{
    RegisterHighlighterClass<TCodeSQLHighlighter>();
    RegisterHighlighterClass<TCodePasHighlighter>();
    RegisterHighlighterClass<TCodeCppHighlighter>();
}
