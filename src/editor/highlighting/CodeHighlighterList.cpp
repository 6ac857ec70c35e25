#include "editor/highlighting/CodeHighlighterList.h"

#include "editor/highlighting/CodeCustomHighlighter.h"

int TCodeHighlighterList::IndexOf(TClass cls) const
{
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].cls == cls) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int TCodeHighlighterList::Add(TClass cls, TCodeHighlighterFactory factory)
{
    const int index = IndexOf(cls);
    if (index >= 0) {
        return index;
    }
    entries_.push_back({cls, factory});
    return Count() - 1;
}

TCodeCustomHighlighter* TCodeHighlighterList::CreateHighlighter(int index, TComponent* owner) const
{
    return entries_[static_cast<std::size_t>(index)].factory(owner);
}

TCodeHighlighterList& GetHighlighterList()
{
    static TCodeHighlighterList list;
    return list;
}

int RegisterHighlighterClass(TClass cls, TCodeHighlighterFactory factory)
{
    return GetHighlighterList().Add(cls, factory);
}
