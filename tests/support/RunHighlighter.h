#pragma once
// A highlighter for painting tests and benchmarks: a token is a run of characters of
// one class, and each class has an attribute. The class of a character comes from a
// function of the line and the position, so tokens can follow the characters (letters,
// digits, blanks) or simply the columns (four colours every five characters).

#include "editor/highlighting/CodeCustomHighlighter.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <memory>
#include <vector>

namespace testsupport {

// The scanning a test highlighter needs: Scan says where the token starting at `start`
// ends and of which kind it is; the token's attribute is the default attribute of its
// kind.
class TTokenHighlighter : public TCodeCustomHighlighter {
public:
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
        if (start_ < line_.size()) {
            end_ = Scan(line_, start_, kind_);
        }
    }

protected:
    // The end of the token that starts at `start` (after it), and its kind.
    virtual qsizetype Scan(const QString& line, qsizetype start, int& kind) const = 0;

private:
    QString line_;
    qsizetype start_ = 0;
    qsizetype end_ = 0;
    int kind_ = 0;
};

class TRunHighlighter : public TTokenHighlighter {
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

protected:
    qsizetype Scan(const QString& line, qsizetype start, int& kind) const override
    {
        kind = classify_(line, static_cast<int>(start));
        qsizetype end = start + 1;
        while (end < line.size() && classify_(line, static_cast<int>(end)) == kind) {
            ++end;
        }
        return end;
    }

private:
    TClassifier classify_;
    std::vector<TCodeHighlighterAttributes*> attributes_;
};

} // namespace testsupport
