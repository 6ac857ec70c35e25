#pragma once
// Start-up registration of the highlighters with a built-in language, so that
// highlighter choosers can offer them. Called once, right after the rule-driven
// highlighter is registered.

void RegisterLanguageHighlighterClasses();
