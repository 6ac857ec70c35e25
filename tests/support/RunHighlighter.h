#pragma once
// A highlighter for painting tests and benchmarks: a token is a run of characters of
// one class, and each class has an attribute. The class of a character comes from a
// function of the line and the position, so tokens can follow the characters (letters,
// digits, blanks) or simply the columns (four colours every five characters).

#include "editor/CodeCustomHighlighter.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <memory>
#include <vector>

namespace testsupport {

class TRunHighlighter : public TCodeCustomHighlighter {
    KP_CLASS(TRunHighlighter, TCodeCustomHighlighter)
public:
    using TClassifier = std::function<int(const QString& line, int index)>;

    // One attribute per class, named "Class0", "Class1", ...
    TRunHighlighter(int classes, TClassifier classify) : classify_(std::move(classify))
    {
        for (int i = 0; i < classes; ++i) {
            attributes_.push_back(AddAttribute(std::make_unique<TCodeHighlighterAttributes>(
                QStringLiteral("Class%1").arg(i))));
        }
    }
    TCodeHighlighterAttributes& Class(int i) { return *attributes_[static_cast<std::size_t>(i)]; }

    // Letters 0, digits 1, blanks and tabs 2, anything else 3.
    static int ByCharacter(const QString& line, int index)
    {
        const QChar c = line[index];
        return c.isLetter() ? 0 : c.isDigit() ? 1 : (c == QLatin1Char(' ') || c == QLatin1Char('\t')) ? 2 : 3;
    }

    TCodeHighlighterAttributes* GetDefaultAttribute(int index) const override
    {
        return index >= 0 && index < static_cast<int>(attributes_.size()) ? attributes_[static_cast<std::size_t>(index)]
                                                                         : nullptr;
    }
    bool GetEol() const override { return start_ >= line_.size(); }
    QStringView GetToken() const override { return QStringView(line_).mid(start_, end_ - start_); }
    TCodeHighlighterAttributes* GetTokenAttribute() const override { return GetDefaultAttribute(kind_); }
    int GetTokenKind() const override { return kind_; }
    int GetTokenPos() const override { return static_cast<int>(start_); }
    void SetLine(const QString& text, int) override
    {
        line_ = text;
        end_ = 0;
        Next();
    }
    void Next() override
    {
        start_ = end_;
        if (start_ >= line_.size()) {
            return;
        }
        kind_ = classify_(line_, static_cast<int>(start_));
        end_ = start_ + 1;
        while (end_ < line_.size() && classify_(line_, static_cast<int>(end_)) == kind_) {
            ++end_;
        }
    }

private:
    TClassifier classify_;
    std::vector<TCodeHighlighterAttributes*> attributes_;
    QString line_;
    qsizetype start_ = 0;
    qsizetype end_ = 0;
    int kind_ = 0;
};

} // namespace testsupport
