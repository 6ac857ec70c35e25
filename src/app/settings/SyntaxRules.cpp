#include "app/settings/SyntaxRules.h"

#include "app/settings/CheckedIniReader.h"

#include "editor/highlighting/CodeRuleRange.h"
#include "platform/core/files/IniFile.h"
#include "platform/core/text/NumberFormat.h"
#include "platform/core/text/StringUtils.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr const char* UnknownAttribute = "unknown";

std::string Numbered(const char* prefix, int n)
{
    return prefix + IntToStr(n);
}

QString Text(const std::string& s)
{
    return QString::fromStdString(s);
}

// The value of a key as it stands after "=", blanks included, found by the profile
// rules (names without regard to case, the first key of the first matching lines).
class TRawValues {
public:
    explicit TRawValues(const TIniFile& ini) : FText(ini.Text()) {}

    std::string Value(std::string_view section, std::string_view key) const
    {
        bool inside = false;
        std::size_t start = 0;
        while (start < FText.size()) {
            std::size_t end = FText.find('\n', start);
            if (end == std::string::npos) {
                end = FText.size();
            }
            std::string_view line(FText.data() + start, end - start);
            start = end + 1;
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            const std::string trimmed = Trim(line);
            if (!trimmed.empty() && trimmed[0] == '[') {
                inside = SameText(Trim(std::string_view(trimmed).substr(1, trimmed.find(']') - 1)), section);
                continue;
            }
            if (!inside || trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') {
                continue;
            }
            const std::size_t eq = line.find('=');
            if (eq != std::string_view::npos && SameText(Trim(line.substr(0, eq)), key)) {
                return std::string(line.substr(eq + 1));
            }
        }
        return {};
    }

private:
    std::string FText;
};

// Whether `section` is prefix + n for some n from 0 to `count`, as the writer numbers them.
bool IsNumberedSection(std::string_view section, std::string_view prefix, int count)
{
    if (section.size() <= prefix.size() || !SameText(section.substr(0, prefix.size()), prefix)) {
        return false;
    }
    const std::string_view digits = section.substr(prefix.size());
    std::int64_t n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9' || n > count) {
            return false;
        }
        n = n * 10 + (c - '0');
    }
    return n <= count && IntToStr(n) == digits;
}

void EraseNumberedSections(TIniFile& ini, const char* prefix, int count)
{
    if (count < 0) {
        return;
    }
    for (const std::string& section : ini.ReadSections()) {
        if (IsNumberedSection(section, prefix, count)) {
            ini.EraseSection(section);
        }
    }
}

void ApplyAttributes(TCodeHighlighterAttributes& attributes, TColor foreground, TColor background, TFontStyles style)
{
    attributes.SetForeground(foreground);
    attributes.SetBackground(background);
    attributes.SetStyle(style);
}

} // namespace

QString EndCharsText(const TCodeCharSet& set, bool closeOnTerm)
{
    // Preparing a range adds the blank, the tab and the line ends to its set, so they
    // say nothing of the rules.
    const QString text = CharSetToText(set);
    return text.isEmpty() && closeOnTerm ? QStringLiteral(" ") : text;
}

QString KeywordListText(const QStringList& keywords)
{
    QString text;
    for (const QString& keyword : keywords) {
        text += keyword + QLatin1Char('~');
    }
    return text;
}

TFontStyles StyleFromLetters(const QString& letters)
{
    return TextToFontStyle(letters.toUpper());
}

TSyntaxRules ReadSyntaxRules(const TIniFile& ini)
{
    const TCheckedIniReader reader(ini);
    const TRawValues raw(ini);
    TSyntaxRules rules;
    const auto colour = [&](const std::string& section, const char* key) {
        return static_cast<TColor>(reader.Integer(section, key, clNone));
    };
    const auto style = [&](const std::string& section, const char* key) {
        return StyleFromLetters(Text(reader.String(section, key, {})));
    };

    // An empty file, or one that is not text at all, holds no rules to take.
    reader.RequireSection(SyntaxHighlightSection);
    const int groups = reader.Count(SyntaxHighlightSection, "nkw");
    for (int i = 1; i <= groups; ++i) {
        const std::string section = Numbered("kw", i);
        reader.RequireSection(section);
        TKeywordGroupRule group;
        group.Name = Text(reader.String(section, "Name", {})).trimmed();
        if (group.Name.isEmpty()) {
            continue;
        }
        group.Foreground = colour(section, "FG");
        group.Background = colour(section, "BG");
        group.Style = style(section, "Style");
        group.Keywords = TextToLines(Text(reader.String(section, "kwList", {})).replace(QLatin1Char('~'), "\r\n"));
        rules.Groups.push_back(std::move(group));
    }

    const int ranges = reader.Count(SyntaxHighlightSection, "nrg");
    for (int i = 1; i <= ranges; ++i) {
        const std::string section = Numbered("rg", i);
        reader.RequireSection(section);
        TRangeRule range;
        range.Open = Text(reader.String(section, "srange", {}));
        range.EndChars = Text(raw.Value(section, "erange"));
        range.Name = Text(reader.String(section, "Name", {}));
        range.DefaultForeground = colour(section, "DefFG");
        range.DefaultBackground = colour(section, "DefBG");
        range.NumberForeground = colour(section, "NumFG");
        range.NumberBackground = colour(section, "NumBG");
        range.DefaultStyle = style(section, "DefStyle");
        range.NumberStyle = style(section, "NumStyle");
        rules.Ranges.push_back(std::move(range));
    }
    return rules;
}

void WriteSyntaxRules(TIniFile& ini, const TSyntaxRules& rules)
{
    const auto text = [](const QString& s) { return s.toStdString(); };

    EraseNumberedSections(ini, "kw", ini.ReadInteger(SyntaxHighlightSection, "nkw", 0));
    ini.WriteInteger(SyntaxHighlightSection, "nkw", static_cast<int>(rules.Groups.size()));
    int n = 0;
    for (const TKeywordGroupRule& group : rules.Groups) {
        const std::string section = Numbered("kw", ++n);
        ini.WriteString(section, "Name", text(group.Name));
        ini.WriteInteger(section, "FG", group.Foreground);
        ini.WriteInteger(section, "BG", group.Background);
        ini.WriteString(section, "Style", text(FontStyleToText(group.Style)));
        ini.WriteString(section, "kwList", text(KeywordListText(group.Keywords)));
    }

    EraseNumberedSections(ini, "rg", ini.ReadInteger(SyntaxHighlightSection, "nrg", 0));
    ini.WriteInteger(SyntaxHighlightSection, "nrg", static_cast<int>(rules.Ranges.size()));
    n = 0;
    for (const TRangeRule& range : rules.Ranges) {
        const std::string section = Numbered("rg", ++n);
        ini.WriteString(section, "srange", text(range.Open));
        ini.WriteString(section, "erange", text(range.EndChars));
        ini.WriteString(section, "Name", text(range.Name));
        ini.WriteInteger(section, "DefFG", range.DefaultForeground);
        ini.WriteInteger(section, "DefBG", range.DefaultBackground);
        ini.WriteInteger(section, "NumFG", range.NumberForeground);
        ini.WriteInteger(section, "NumBG", range.NumberBackground);
        ini.WriteString(section, "DefStyle", text(FontStyleToText(range.DefaultStyle)));
        ini.WriteString(section, "NumStyle", text(FontStyleToText(range.NumberStyle)));
    }
}

TKeywordGroupRule KeywordGroupRuleOf(const TCodeRange& root, int index)
{
    const TCodeSymbolGroup& group = *root.GetSymbolGroup(index);
    TKeywordGroupRule rule;
    rule.Name = group.Name;
    rule.Keywords = group.KeywordList;
    if (group.Attributes != nullptr) {
        rule.Foreground = group.Attributes->Foreground();
        rule.Background = group.Attributes->Background();
        rule.Style = group.Attributes->Style();
    }
    return rule;
}

TRangeRule RangeRuleOf(const TCodeRange& root, int index)
{
    const TCodeRange& range = *root.GetRange(index);
    TRangeRule rule;
    rule.Name = range.Name;
    rule.Open = range.OpenSymbol().Symbol;
    rule.EndChars = EndCharsText(range.DelimiterChars, range.CloseOnTerm);
    rule.DefaultForeground = range.DefaultAttri().Foreground();
    rule.DefaultBackground = range.DefaultAttri().Background();
    rule.DefaultStyle = range.DefaultAttri().Style();
    rule.NumberForeground = range.NumberAttri().Foreground();
    rule.NumberBackground = range.NumberAttri().Background();
    rule.NumberStyle = range.NumberAttri().Style();
    return rule;
}

TSyntaxRules SyntaxRulesOf(const TCodeRange& root)
{
    TSyntaxRules rules;
    for (int i = 0; i < root.GetSymbolGroupCount(); ++i) {
        rules.Groups.push_back(KeywordGroupRuleOf(root, i));
    }
    for (int i = 0; i < root.GetRangeCount(); ++i) {
        rules.Ranges.push_back(RangeRuleOf(root, i));
    }
    return rules;
}

void AddKeywordGroup(TCodeRange& root, const TKeywordGroupRule& rule)
{
    TCodeHighlighterAttributes* attributes = root.AddAttribute(QString::fromLatin1(UnknownAttribute));
    ApplyAttributes(*attributes, rule.Foreground, rule.Background, rule.Style);
    auto group = std::make_unique<TCodeSymbolGroup>(QString(), attributes);
    group->Name = rule.Name;
    group->KeywordList = rule.Keywords;
    root.AddSymbolGroup(std::move(group));
}

void AddRangeRule(TCodeRange& root, const TRangeRule& rule)
{
    auto range = std::make_unique<TCodeRange>(rule.Open, QString());
    range->CloseOnEol = true;
    range->CloseOnTerm = !rule.EndChars.isEmpty();
    range->Name = rule.Name;
    ApplyAttributes(range->DefaultAttri(), rule.DefaultForeground, rule.DefaultBackground, rule.DefaultStyle);
    ApplyAttributes(range->NumberAttri(), rule.NumberForeground, rule.NumberBackground, rule.NumberStyle);
    range->SetCaseSensitive(false);
    range->OpenSymbol().TermKind = tkAnyTerm;
    range->DelimiterChars = TextToCharSet(rule.EndChars);
    root.AddRange(std::move(range));
}

void AddSyntaxRules(TCodeRange& root, const TSyntaxRules& rules)
{
    root.Unprepare();
    root.SetCaseSensitive(false);
    for (const TKeywordGroupRule& group : rules.Groups) {
        AddKeywordGroup(root, group);
    }
    for (const TRangeRule& range : rules.Ranges) {
        AddRangeRule(root, range);
    }
}

int FindKeywordGroup(const TCodeRange& root, const QString& name)
{
    for (int i = 0; i < root.GetSymbolGroupCount(); ++i) {
        if (root.GetSymbolGroup(i)->Name == name) {
            return i;
        }
    }
    return -1;
}

int FindRangeRule(const TCodeRange& root, const QString& name)
{
    for (int i = 0; i < root.GetRangeCount(); ++i) {
        if (root.GetRange(i)->Name == name) {
            return i;
        }
    }
    return -1;
}

void ReplaceKeywordGroup(TCodeRange& root, int index, const TKeywordGroupRule& rule)
{
    root.DeleteSymbolGroup(index);
    root.Unprepare();
    AddKeywordGroup(root, rule);
}

void ReplaceRangeRule(TCodeRange& root, int index, const TRangeRule& rule)
{
    root.DeleteRange(index);
    root.Unprepare();
    AddRangeRule(root, rule);
}
