#include "editor/CodeHighlighters.h"

#include "editor/CodeHighlighterList.h"
#include "editor/CodeRuleHighlighter.h"

void RegisterEditorHighlighters()
{
    RegisterHighlighterClass<TCodeRuleHighlighter>();
}
