#pragma once
// Fixtures shared by the highlighter tests: a counter for notify events and a minimal
// highlighter that splits a line into blank-separated words.

#include "editor/CodeCustomHighlighter.h"

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

// Words and blanks; the line state counts the lines scanned.
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
    bool GetEol() const override { return eol_; }
    int GetRange() const override { return range_; }
    void SetRange(int range) override { range_ = range; }
    void ResetRange() override { range_ = 0; }
    QStringView GetToken() const override { return QStringView(line_).mid(start_, run_ - start_); }
    TCodeHighlighterAttributes* GetTokenAttribute() const override
    {
        return GetAttribute(line_[start_] == QLatin1Char(' ') ? 0 : 1);
    }
    int GetTokenKind() const override { return 0; }
    int GetTokenPos() const override { return start_; }
    void SetLine(const QString& text, int) override
    {
        line_ = text;
        run_ = 0;
        eol_ = false;
        ++range_;
        Next();
    }
    void Next() override
    {
        start_ = run_;
        if (run_ >= line_.size()) {
            eol_ = true;
            return;
        }
        const bool blank = line_[run_] == QLatin1Char(' ');
        while (run_ < line_.size() && (line_[run_] == QLatin1Char(' ')) == blank) {
            ++run_;
        }
    }

private:
    void AttributeChanged(TObject*) { NotifyChange(); }

    QString line_;
    QString sample_;
    int start_ = 0;
    int run_ = 0;
    int range_ = 0;
    bool eol_ = false;
};
