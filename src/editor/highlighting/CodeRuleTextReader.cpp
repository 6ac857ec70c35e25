// Reads a tagged rule text into a new tree; the highlighter takes it only when the
// whole text was read. Line numbers in messages count carriage returns from 0.

#include "editor/document/CodeEditTextCodec.h"
#include "editor/highlighting/CodeRuleHighlighter.h"
#include "editor/highlighting/CodeRuleText.h"
#include "platform/core/Exceptions.h"
#include "platform/core/text/NumberFormat.h"

#include <QIODevice>

namespace {

struct TTagRead {
    TCodeRuleTag tag = rtNone;
    bool opening = true;
    bool atEnd = false; // no tag before the end of the text
    QString value;
};

class TRuleTextReader {
public:
    TRuleTextReader(QStringView text, TCodeRange& root, TCodeRuleHighlighter::TInfo& info)
        : text_(text), root_(root), info_(info)
    {
    }

    void ReadDocument()
    {
        const TTagRead header = ReadTag(false);
        if (header.atEnd || !header.opening || header.tag != rtUniHighlighter) {
            throw Exception("Highlighter header tag (\"<UniHighlighter>\") was not found.");
        }
        TTagRead tag;
        for (;;) {
            tag = ReadTag(true);
            if (tag.atEnd) {
                FailClosingTag();
            }
            if (!tag.opening) {
                break;
            }
            if (tag.tag == rtInfo) {
                ReadInfo();
            } else if (tag.tag == rtRange) {
                root_.Name = tag.value;
                ReadRange(root_);
            } else if (tag.tag == rtCopyright) {
                ReadValue(rtCopyright);
            }
        }
        if (tag.tag != rtUniHighlighter) {
            FailClosingTag();
        }
    }

private:
    [[noreturn]] void Fail(const QString& message) { throw Exception(message.toStdString()); }
    [[noreturn]] void FailEndOfLine() { Fail(QStringLiteral("Unexpected end of line. Line %1").arg(line_)); }
    [[noreturn]] void FailClosingTag()
    {
        Fail(QStringLiteral("Closing tag: /UniHighlighter was not found. Line %1").arg(line_));
    }
    bool AtEnd() const { return pos_ >= text_.size(); }
    QChar Current() const { return text_[pos_]; }

    TTagRead ReadTag(bool passOverUnknown)
    {
        TTagRead result;
        while (!AtEnd() && Current() != QLatin1Char('<')) {
            CountLine();
            ++pos_;
        }
        if (AtEnd()) {
            result.atEnd = true;
            return result;
        }
        ++pos_;
        while (!AtEnd() && Current() == QLatin1Char(' ')) {
            ++pos_;
        }
        if (!AtEnd() && Current() == QLatin1Char('/')) {
            result.opening = false;
            ++pos_;
        }
        const qsizetype start = pos_;
        for (;; ++pos_) {
            if (AtEnd() || Current() == QLatin1Char('\r')) {
                FailEndOfLine();
            }
            if (Current() == QLatin1Char(' ') || Current() == QLatin1Char('>')) {
                break;
            }
        }
        const QStringView name = text_.mid(start, pos_ - start);
        result.tag = FindRuleTag(name);
        if (result.tag == rtNone) {
            if (!passOverUnknown) {
                Fail(QStringLiteral("Tag \"%1\" is unknown (line %2)").arg(name).arg(line_));
            }
            result.opening = true; // the rest of the tag is skipped as text
            return result;
        }
        for (;;) {
            if (AtEnd() || Current() == QLatin1Char('\r')) {
                FailEndOfLine();
            }
            if (Current() == QLatin1Char('>')) {
                ++pos_;
                return result;
            }
            if (Current() == QLatin1Char('"')) {
                const qsizetype valueStart = ++pos_;
                while (!AtEnd() && Current() != QLatin1Char('"')) {
                    CountLine();
                    ++pos_;
                }
                result.value = UnescapeRuleValue(text_.mid(valueStart, pos_ - valueStart));
                if (AtEnd()) {
                    result.opening = false;
                    return result;
                }
            }
            ++pos_;
        }
    }

    void CountLine()
    {
        if (Current() == QLatin1Char('\r')) {
            ++line_;
        }
    }

    // The value of the element whose opening tag was just read, up to its closing tag.
    QString ReadValue(TCodeRuleTag tag)
    {
        const qsizetype start = pos_;
        for (;; ++pos_) {
            if (AtEnd() || Current() == QLatin1Char('\r')) {
                FailEndOfLine();
            }
            if (Current() == QLatin1Char('<')) {
                break;
            }
        }
        const QString value = UnescapeRuleValue(text_.mid(start, pos_ - start));
        const TTagRead close = ReadTag(false);
        if (close.atEnd || close.opening || close.tag != tag) {
            Fail(QStringLiteral("Close tag: /%1 is not found. Line %2")
                     .arg(QLatin1String(RuleTagName(tag)))
                     .arg(line_));
        }
        return value;
    }

    int ReadInteger(TCodeRuleTag tag) { return StrToInt(ReadValue(tag).toStdString()); }
    bool ReadFlag(TCodeRuleTag tag) { return ReadValue(tag).toLower() == QLatin1String("true"); }

    // Opening tags until the section's own closing tag; `take` answers whether it took one.
    template <class Take>
    void ReadSection(TCodeRuleTag section, Take take)
    {
        for (;;) {
            const TTagRead tag = ReadTag(false);
            if (tag.atEnd) {
                FailClosingTag();
            }
            const QLatin1String name(RuleTagName(tag.tag));
            if (!tag.opening) {
                if (tag.tag != section) {
                    Fail(QStringLiteral("Unexpected tag: /%1 line %2").arg(name).arg(line_));
                }
                return;
            }
            if (!take(tag)) {
                Fail(QStringLiteral("Unexpected tag: %1 line %2").arg(name).arg(line_));
            }
        }
    }

    void ReadColours(TCodeRuleTag section, TCodeHighlighterAttributes& attribute)
    {
        ReadSection(section, [&](const TTagRead& tag) {
            switch (tag.tag) {
            case rtBack: attribute.SetBackground(ReadInteger(rtBack)); return true;
            case rtFore: attribute.SetForeground(ReadInteger(rtFore)); return true;
            case rtStyle: attribute.SetStyle(TextToFontStyle(ReadValue(rtStyle))); return true;
            default: return false;
            }
        });
    }

    // Text values of a section, each into its field.
    void ReadTexts(TCodeRuleTag section, std::initializer_list<std::pair<TCodeRuleTag, QString*>> fields)
    {
        ReadSection(section, [&](const TTagRead& tag) {
            for (const auto& [fieldTag, field] : fields) {
                if (tag.tag == fieldTag) {
                    *field = ReadValue(fieldTag);
                    return true;
                }
            }
            return false;
        });
    }

    void ReadInfo()
    {
        ReadSection(rtInfo, [&](const TTagRead& tag) {
            auto& general = info_.General;
            auto& author = info_.Author;
            switch (tag.tag) {
            case rtGeneral:
                ReadTexts(rtGeneral, {{rtName, &general.Name},
                                      {rtFileTypeName, &general.FileTypeName},
                                      {rtLayout, &general.Layout}});
                return true;
            case rtAuthor:
                ReadTexts(rtAuthor, {{rtName, &author.Name},
                                     {rtEmail, &author.Email},
                                     {rtWeb, &author.Web},
                                     {rtCopyright, &author.Copyright},
                                     {rtCompany, &author.Company},
                                     {rtRemark, &author.Remark}});
                return true;
            case rtVersion: ReadVersion(); return true;
            case rtHistory:
                ReadSection(rtHistory, [&](const TTagRead& line) {
                    return line.tag == rtH && (info_.History << ReadValue(rtH), true);
                });
                return true;
            case rtSample:
                info_.Sample.clear();
                ReadSection(rtSample, [&](const TTagRead& line) {
                    return line.tag == rtS && (info_.Sample << ReadValue(rtS), true);
                });
                return true;
            default: return false;
            }
        });
    }

    void ReadVersion()
    {
        auto& version = info_.Version;
        ReadSection(rtVersion, [&](const TTagRead& tag) {
            switch (tag.tag) {
            case rtVersion: version.Version = ReadInteger(rtVersion); return true;
            case rtRevision: version.Revision = ReadInteger(rtRevision); return true;
            // A real number: a written date keeps its time of day.
            case rtDate: version.Date = StrToFloat(ReadValue(rtDate).toStdString()); return true;
            case rtType: {
                const QString type = ReadValue(rtType);
                version.Type = type == QLatin1String("Beta") ? 1 : type == QLatin1String("Release") ? 2 : 0;
                return true;
            }
            default: return false;
            }
        });
    }

    void ReadKeywordGroup(TCodeRange& range, const QString& name)
    {
        TCodeHighlighterAttributes* attribute = range.AddAttribute(QStringLiteral("unknown"));
        auto owned = std::make_unique<TCodeSymbolGroup>(QString(), attribute);
        TCodeSymbolGroup& group = *owned;
        group.Name = name;
        range.AddSymbolGroup(std::move(owned));
        ReadSection(rtKW, [&](const TTagRead& tag) {
            if (tag.tag == rtAttri) {
                ReadColours(rtAttri, *attribute);
            } else if (tag.tag == rtW) {
                group.KeywordList << ReadValue(rtW);
            } else {
                return false;
            }
            return true;
        });
    }

    void ReadRange(TCodeRange& range)
    {
        ReadSection(rtRange, [&](const TTagRead& tag) {
            switch (tag.tag) {
            case rtDef: ReadColours(rtDef, range.DefaultAttri()); return true;
            case rtNum: ReadColours(rtNum, range.NumberAttri()); return true;
            case rtOpenSymbol: range.OpenSymbol().Symbol = ReadValue(rtOpenSymbol); return true;
            case rtCloseSymbol: range.CloseSymbol().Symbol = ReadValue(rtCloseSymbol); return true;
            case rtDelimiterChars: range.DelimiterChars = TextToCharSet(ReadValue(rtDelimiterChars)); return true;
            case rtAnyTerm:
                range.OpenSymbol().TermKind = ReadFlag(rtAnyTerm) ? tkAnyTerm : tkDelimiterTerm;
                return true;
            case rtCloseOnTerm: range.CloseOnTerm = ReadFlag(rtCloseOnTerm); return true;
            case rtCloseOnEol: range.CloseOnEol = ReadFlag(rtCloseOnEol); return true;
            case rtCaseSensitive: range.SetCaseSensitive(ReadFlag(rtCaseSensitive)); return true;
            case rtKW: ReadKeywordGroup(range, tag.value); return true;
            case rtRange: {
                auto nested = std::make_unique<TCodeRange>();
                nested->Name = tag.value;
                TCodeRange& added = *nested;
                range.AddRange(std::move(nested));
                ReadRange(added);
                return true;
            }
            default: return false;
            }
        });
    }

    QStringView text_;
    qsizetype pos_ = 0;
    int line_ = 0;
    TCodeRange& root_;
    TCodeRuleHighlighter::TInfo& info_;
};

} // namespace

void TCodeRuleHighlighter::ReadRuleText(const QString& text)
{
    // A text without the root's own elements leaves them as they are.
    TCodeRange rules;
    rules.AssignOwnRules(*root_);
    TInfo info = Info;
    TRuleTextReader(text, rules, info).ReadDocument();
    root_->TakeRulesFrom(rules);
    Info = std::move(info);
    NotifyChange();
}

void TCodeRuleHighlighter::ReadRuleText(QByteArrayView bytes)
{
    ReadRuleText(DecodeText(bytes, DetectTextEncoding(bytes)));
}

void TCodeRuleHighlighter::ReadRuleText(QIODevice& stream)
{
    ReadRuleText(QByteArrayView(stream.readAll()));
}
