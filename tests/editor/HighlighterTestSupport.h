#pragma once
// Fixtures shared by the highlighter tests: a counter for notify events and a highlighter
// that has named attributes and a sample but no tokens (every line ends at once).

#include "editor/highlighting/CodeCustomHighlighter.h"

#include <QString>

#include <initializer_list>
#include <memory>

struct TEventCounter {
    int count = 0;
    TObject* sender = nullptr;
    void Fired(TObject* s)
    {
        ++count;
        sender = s;
    }
    TNotifyEvent Event() { return MakeDelegate<&TEventCounter::Fired>(this); }
};

class TWordHighlighter : public TCodeCustomHighlighter {
    KP_CLASS(TWordHighlighter, TCodeCustomHighlighter)
public:
    explicit TWordHighlighter(TComponent* owner = nullptr,
                              std::initializer_list<const char*> names = {"Word", "Space"})
        : TCodeCustomHighlighter(owner)
    {
        for (const char* name : names) {
            AddAttribute(std::make_unique<TCodeHighlighterAttributes>(QString::fromLatin1(name)));
        }
        AttachAttributeHandlers(MakeDelegate<&TWordHighlighter::AttributeChanged>(this));
    }

    TCodeHighlighterAttributes* GetDefaultAttribute(int index) const override { return GetAttribute(index); }
    QString GetSampleSource() const override { return sample_; }
    void SetSampleSource(const QString& text) override { sample_ = text; }
    bool GetEol() const override { return true; }
    QStringView GetToken() const override { return {}; }
    TCodeHighlighterAttributes* GetTokenAttribute() const override { return nullptr; }
    int GetTokenKind() const override { return 0; }
    int GetTokenPos() const override { return 0; }
    void SetLine(const QString&, int) override {}
    void Next() override {}

private:
    void AttributeChanged(TObject*) { NotifyChange(); }

    QString sample_;
};
