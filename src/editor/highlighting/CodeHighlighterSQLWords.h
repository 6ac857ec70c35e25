#pragma once
// The keyword lists of each SQL dialect: token kind and a comma-separated word list.

#include "editor/highlighting/CodeHighlighterSQL.h"

#include <QStringView>

#include <span>

struct TSQLWordList {
    TSQLTokenKind kind;
    QStringView words;
};

std::span<const TSQLWordList> SQLDialectWordLists(TSQLDialect dialect);
