#include "editor/highlighting/CodeRuleRange.h"

#include "editor/document/CodeEditStrConst.h"
#include "editor/highlighting/CodeRuleMatchers.h"
#include "platform/core/Exceptions.h"

#include <string>

namespace {

template <class List>
auto* ItemAt(const List& list, int index)
{
    if (index < 0 || index >= static_cast<int>(list.size())) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
    return list[static_cast<std::size_t>(index)].get();
}

TCodeCharSet DefaultDelimiters()
{
    TCodeCharSet set;
    set.IncludeRange(33, 47);
    set.IncludeRange(58, 64);
    set.IncludeRange(91, 94);
    set.Include(96);
    set.IncludeRange(123, 126);
    return set;
}

} // namespace

QStringList TextToLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines << text.mid(start, i - start);
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < text.size()) {
        lines << text.mid(start);
    }
    return lines;
}

TCodeSymbolGroup::TCodeSymbolGroup(const QString& keywords, TCodeHighlighterAttributes* attributes)
    : Attributes(attributes), KeywordList(TextToLines(keywords))
{
}

TCodeRange::TCodeRange(const QString& openText, const QString& closeText)
    : DelimiterChars(DefaultDelimiters()), closeSymbol_(closeText), openSymbol_(openText),
      defaultAttri_(QString::fromLatin1(sCodeAttrDefaultPackages)), numberAttri_(QString::fromLatin1(sCodeAttrNumber))
{
}

TCodeRange::~TCodeRange()
{
    Unprepare();
    // Nested ranges go first to last, as they were added.
    for (auto& range : ranges_) {
        range.reset();
    }
}

int TCodeRange::AddRange(std::unique_ptr<TCodeRange> range)
{
    ranges_.push_back(std::move(range));
    return GetRangeCount() - 1;
}

int TCodeRange::AddSymbolGroup(std::unique_ptr<TCodeSymbolGroup> group)
{
    groups_.push_back(std::move(group));
    return GetSymbolGroupCount() - 1;
}

TCodeHighlighterAttributes* TCodeRange::AddAttribute(const QString& name)
{
    attributes_.push_back(std::make_unique<TCodeHighlighterAttributes>(name));
    return attributes_.back().get();
}

TCodeRange* TCodeRange::GetRange(int index) const { return ItemAt(ranges_, index); }

TCodeSymbolGroup* TCodeRange::GetSymbolGroup(int index) const { return ItemAt(groups_, index); }

TCodeHighlighterAttributes* TCodeRange::GetAttribute(int index) const { return ItemAt(attributes_, index); }

void TCodeRange::DeleteRange(int index)
{
    ItemAt(ranges_, index);
    UnprepareTree();
    ranges_.erase(ranges_.begin() + index);
}

void TCodeRange::DeleteSymbolGroup(int index)
{
    ItemAt(groups_, index);
    groups_.erase(groups_.begin() + index);
}

void TCodeRange::Clear()
{
    UnprepareTree();
    for (auto& range : ranges_) {
        range->Clear();
    }
    ranges_.clear();
    symbols_.clear();
    groups_.clear();
    attributes_.clear();
}

void TCodeRange::AssignOwnRules(const TCodeRange& source)
{
    Name = source.Name;
    CloseOnTerm = source.CloseOnTerm;
    CloseOnEol = source.CloseOnEol;
    DelimiterChars = source.DelimiterChars;
    caseSensitive_ = source.caseSensitive_;
    openSymbol_.Symbol = source.openSymbol_.Symbol;
    openSymbol_.TermKind = source.openSymbol_.TermKind;
    closeSymbol_.Symbol = source.closeSymbol_.Symbol;
    closeSymbol_.TermKind = source.closeSymbol_.TermKind;
    defaultAttri_.Assign(&source.defaultAttri_);
    numberAttri_.Assign(&source.numberAttri_);
}

void TCodeRange::TakeRulesFrom(TCodeRange& source)
{
    UnprepareTree();
    source.UnprepareTree();
    AssignOwnRules(source);
    ranges_.swap(source.ranges_);
    groups_.swap(source.groups_);
    attributes_.swap(source.attributes_);
}

QString TCodeRange::FoldText(QStringView text) const
{
    QString folded = text.toString();
    if (!caseSensitive_) {
        for (QChar& c : folded) {
            c = QChar(FoldChar(c.unicode()));
        }
    }
    return folded;
}

TFontStyles TextToFontStyle(QStringView text)
{
    TFontStyles style = 0;
    const struct {
        char letter;
        TFontStyles member;
    } letters[] = {{'B', TFont::fsBold}, {'I', TFont::fsItalic}, {'U', TFont::fsUnderline}, {'S', TFont::fsStrikeOut}};
    for (const auto& l : letters) {
        if (text.contains(QLatin1Char(l.letter))) {
            style |= l.member;
        }
    }
    return style;
}

QString FontStyleToText(TFontStyles style)
{
    QString text;
    if (style & TFont::fsBold) {
        text += QLatin1Char('B');
    }
    if (style & TFont::fsItalic) {
        text += QLatin1Char('I');
    }
    if (style & TFont::fsUnderline) {
        text += QLatin1Char('U');
    }
    if (style & TFont::fsStrikeOut) {
        text += QLatin1Char('S');
    }
    return text;
}
