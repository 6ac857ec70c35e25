// Writes the rule tree with its Info block as a tagged text, one element a line, each
// line ended by a line feed.

#include "editor/highlighting/CodeRuleHighlighter.h"
#include "editor/highlighting/CodeRuleText.h"
#include "platform/core/objects/Filer.h"
#include "platform/core/text/NumberFormat.h"

#include <QIODevice>

namespace {

class TRuleTextWriter {
public:
    QString text;

    void Line(int indent, QStringView content)
    {
        text += QString(indent, QLatin1Char(' '));
        text += content;
        text += QLatin1Char('\n');
    }
    void Open(int indent, const char* tag) { Line(indent, QLatin1Char('<') + QLatin1String(tag) + QLatin1Char('>')); }
    void Close(int indent, const char* tag)
    {
        Line(indent, QLatin1String("</") + QLatin1String(tag) + QLatin1Char('>'));
    }
    void OpenNamed(int indent, const char* tag, const QString& name)
    {
        Line(indent, QLatin1Char('<') + QLatin1String(tag) + QLatin1String(" Name=\"") + EscapeRuleValue(name) +
                         QLatin1String("\">"));
    }
    void Value(int indent, const char* tag, const QString& value)
    {
        Line(indent, QLatin1Char('<') + QLatin1String(tag) + QLatin1Char('>') + EscapeRuleValue(value) +
                         QLatin1String("</") + QLatin1String(tag) + QLatin1Char('>'));
    }
    void Value(int indent, TCodeRuleTag tag, const QString& value) { Value(indent, RuleTagName(tag), value); }
    void Flag(int indent, TCodeRuleTag tag, bool value)
    {
        Value(indent, tag, value ? QLatin1String("True") : QLatin1String("False"));
    }

    void Colours(int indent, TCodeRuleTag tag, const TCodeHighlighterAttributes& attribute)
    {
        Open(indent, RuleTagName(tag));
        Value(indent + 1, rtBack, QString::number(attribute.Background()));
        Value(indent + 1, rtFore, QString::number(attribute.Foreground()));
        Value(indent + 1, rtStyle, FontStyleToText(attribute.Style()));
        Close(indent, RuleTagName(tag));
    }

    void Range(int indent, const TCodeRange& range)
    {
        OpenNamed(indent, "Range", range.Name);
        Colours(indent, rtDef, range.DefaultAttri());
        Colours(indent, rtNum, range.NumberAttri());
        Value(indent, rtOpenSymbol, range.OpenSymbol().Symbol);
        Value(indent, rtCloseSymbol, range.CloseSymbol().Symbol);
        Value(indent, rtDelimiterChars, CharSetToText(range.DelimiterChars));
        Flag(indent, rtAnyTerm, range.OpenSymbol().TermKind == tkAnyTerm);
        Flag(indent, rtCloseOnTerm, range.CloseOnTerm);
        Flag(indent, rtCloseOnEol, range.CloseOnEol);
        Flag(indent, rtCaseSensitive, range.GetCaseSensitive());
        for (int i = 0; i < range.GetSymbolGroupCount(); ++i) {
            const TCodeSymbolGroup& group = *range.GetSymbolGroup(i);
            OpenNamed(indent, "KW", group.Name);
            Colours(indent + 1, rtAttri, *group.Attributes);
            for (const QString& keyword : group.KeywordList) {
                Value(indent + 1, rtW, keyword);
            }
            Close(indent, "KW");
        }
        for (int i = 0; i < range.GetRangeCount(); ++i) {
            Range(indent + 1, *range.GetRange(i));
        }
        Close(indent, "Range");
    }

    void Info(const TCodeRuleHighlighter::TInfo& info)
    {
        Open(1, "Info");
        Open(2, "General");
        Value(3, rtName, info.General.Name);
        Value(3, rtFileTypeName, info.General.FileTypeName);
        Value(3, rtLayout, info.General.Layout);
        Close(2, "General");
        Open(2, "Author");
        Value(3, rtName, info.Author.Name);
        Value(3, rtEmail, info.Author.Email);
        Value(3, rtWeb, info.Author.Web);
        Value(3, rtCopyright, info.Author.Copyright);
        Value(3, rtCompany, info.Author.Company);
        Value(3, rtRemark, info.Author.Remark);
        Close(2, "Author");
        Open(2, "Version");
        Value(3, rtVersion, QString::number(info.Version.Version));
        Value(3, rtRevision, QString::number(info.Version.Revision));
        Value(3, rtDate, QString::fromStdString(FloatToStr(info.Version.Date)));
        static const char* const kTypes[] = {"Internal Test", "Beta", "Release"};
        if (info.Version.Type < 3) {
            Value(3, rtType, QLatin1String(kTypes[info.Version.Type]));
        }
        Close(2, "Version");
        Open(2, "History");
        for (const QString& line : info.History) {
            Value(3, rtH, line);
        }
        Close(2, "History");
        Open(2, "Sample");
        for (const QString& line : info.Sample) {
            Value(3, rtS, line);
        }
        Close(2, "Sample");
        Close(1, "Info");
    }
};

} // namespace

QByteArray TCodeRuleHighlighter::RuleText() const
{
    TRuleTextWriter writer;
    writer.Open(0, "UniHighlighter");
    writer.Open(1, "ImportantInfo");
    writer.Line(2, u"******* Please read carefully *************************");
    writer.Line(2, u"* Please, make any changes in this file very carefuly!*");
    writer.Line(2, u"* It is much more convinient to use native designer!  *");
    writer.Line(2, u"*******************************************************");
    writer.Close(1, "ImportantInfo");
    writer.Info(Info);
    writer.Range(1, *root_);
    writer.Value(1, "CopyRight",
                 QStringLiteral("Rule format of the universal highlighter, credited to its original authors"));
    writer.Close(0, "UniHighlighter");
    return writer.text.toUtf8();
}

void TCodeRuleHighlighter::WriteRuleText(QIODevice& stream) const
{
    const QByteArray bytes = RuleText();
    if (stream.write(bytes) != bytes.size()) {
        throw EWriteError("Stream write error");
    }
}

QString TCodeRuleHighlighter::Syntax() const { return QString::fromUtf8(RuleText()); }

void TCodeRuleHighlighter::DefineProperties(TFiler* filer)
{
    TCodeCustomHighlighter::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "Syntax",
        [this](TStream& stream) {
            QByteArray bytes(static_cast<qsizetype>(stream.Remaining()), Qt::Uninitialized);
            stream.ReadBuffer(bytes.data(), bytes.size());
            ReadRuleText(QByteArrayView(bytes));
        },
        [this](TStream& stream) {
            const QByteArray bytes = RuleText();
            stream.WriteBuffer(bytes.constData(), bytes.size());
        },
        root_->GetRangeCount() > 0);
}
