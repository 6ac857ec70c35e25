#pragma once
// The highlighter classes the program knows, in the order they were registered, each
// with the factory that makes one. The program's list is filled by explicit calls at
// start-up (RegisterEditorHighlighters), never by static initialisers.

#include "platform/core/objects/Object.h"

#include <vector>

class TComponent;
class TCodeCustomHighlighter;

using TCodeHighlighterFactory = TCodeCustomHighlighter* (*)(TComponent* owner);

class TCodeHighlighterList {
public:
    int Count() const { return static_cast<int>(entries_.size()); }
    // The index must exist.
    TClass Items(int index) const { return entries_[static_cast<std::size_t>(index)].cls; }
    // -1 when the class is not in the list.
    int IndexOf(TClass cls) const;
    // Adds the class unless it is there; its index either way.
    int Add(TClass cls, TCodeHighlighterFactory factory);
    // A new highlighter of the class at index, owned by `owner`.
    TCodeCustomHighlighter* CreateHighlighter(int index, TComponent* owner) const;

private:
    struct TEntry {
        TClass cls;
        TCodeHighlighterFactory factory;
    };
    std::vector<TEntry> entries_;
};

// The program's list, made on first use and freed at exit.
TCodeHighlighterList& GetHighlighterList();

int RegisterHighlighterClass(TClass cls, TCodeHighlighterFactory factory);

template <class T>
int RegisterHighlighterClass()
{
    return RegisterHighlighterClass(T::StaticClass(),
                                    [](TComponent* owner) -> TCodeCustomHighlighter* { return new T(owner); });
}
