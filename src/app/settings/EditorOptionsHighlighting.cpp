// The editor options dialog's Syntax Highlighting page: the keyword groups and ranges
// of the data module's universal highlighter, as its root range holds them.
#include "app/settings/EditorOptionsForm.h"

#include "app/shell/ColorSwatch.h"
#include "app/shell/DataModule.h"
#include "app/settings/HighlightRulesFile.h"
#include "app/settings/SyntaxRules.h"

#include "editor/highlighting/CodeRuleHighlighter.h"
#include "platform/core/services/DialogService.h"
#include "platform/gui/ActionList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

TCodeRange& Root()
{
    return *dm->CodeRuleHighlighter1->RootRange();
}

QCheckBox* StyleBox(QWidget* parent, const QString& name, const char* caption)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(name);
    return box;
}

struct TStyleBoxes {
    QCheckBox* Bold;
    QCheckBox* Italic;
    QCheckBox* Underline;
    QCheckBox* StrikeOut;

    TFontStyles Style() const
    {
        return (Bold->isChecked() ? TFont::fsBold : 0) | (Italic->isChecked() ? TFont::fsItalic : 0) |
               (Underline->isChecked() ? TFont::fsUnderline : 0) | (StrikeOut->isChecked() ? TFont::fsStrikeOut : 0);
    }
    void Show(TFontStyles style) const
    {
        Bold->setChecked(style & TFont::fsBold);
        Italic->setChecked(style & TFont::fsItalic);
        Underline->setChecked(style & TFont::fsUnderline);
        StrikeOut->setChecked(style & TFont::fsStrikeOut);
    }
};

// The name for a new group or range; empty when cancelled. An empty answer is refused.
QString AskName(const char* caption, const char* prompt)
{
    std::string answer;
    if (!InputQuery(caption, prompt, answer)) {
        return {};
    }
    const QString name = QString::fromStdString(answer).trimmed();
    if (name.isEmpty()) {
        ShowErrorBox("Invalid name");
    }
    return name;
}

QGroupBox* StyleGroup(QWidget* parent, const QString& prefix, TStyleBoxes& boxes)
{
    auto* group = new QGroupBox(QStringLiteral("Style"), parent);
    auto* layout = new QGridLayout(group);
    boxes.Bold = StyleBox(group, prefix + QLatin1Char('b'), "Bold");
    boxes.Italic = StyleBox(group, prefix + QLatin1Char('i'), "Italic");
    boxes.Underline = StyleBox(group, prefix + QLatin1Char('u'), "Underline");
    boxes.StrikeOut = StyleBox(group, prefix + QLatin1Char('s'), "Strikeout");
    layout->addWidget(boxes.Bold, 0, 0);
    layout->addWidget(boxes.Italic, 0, 1);
    layout->addWidget(boxes.Underline, 1, 0);
    layout->addWidget(boxes.StrikeOut, 1, 1);
    return group;
}

} // namespace

QWidget* TFEditorOptions::CreateHighlightingPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* columns = new QHBoxLayout(page);
    const auto button = [&](QWidget* parent, const char* name, const char* caption, void (TFEditorOptions::*click)()) {
        auto* b = new QPushButton(QString::fromUtf8(caption), parent);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, click] { RunGuarded([this, click] { (this->*click)(); }); });
        return b;
    };

    auto* keywords = new QWidget(page);
    auto* kwGrid = new QGridLayout(keywords);
    kwGrid->addWidget(new QLabel(QStringLiteral("Keyword Groups:"), keywords), 0, 0, 1, 2);
    cbokw = new QComboBox(keywords);
    cbokw->setObjectName(QStringLiteral("cbokw"));
    kwGrid->addWidget(cbokw, 1, 0, 1, 2);
    kwGrid->addWidget(new QLabel(QStringLiteral("Foreground:"), keywords), 2, 0);
    kwfg = new TColorSwatch(keywords);
    kwfg->setObjectName(QStringLiteral("kwfg"));
    kwGrid->addWidget(kwfg, 2, 1);
    kwGrid->addWidget(new QLabel(QStringLiteral("Background:"), keywords), 3, 0);
    kwbg = new TColorSwatch(keywords);
    kwbg->setObjectName(QStringLiteral("kwbg"));
    kwGrid->addWidget(kwbg, 3, 1);
    TStyleBoxes kwStyle{};
    kwGrid->addWidget(StyleGroup(keywords, QStringLiteral("kw"), kwStyle), 4, 0, 1, 2);
    kwb = kwStyle.Bold;
    kwi = kwStyle.Italic;
    kwu = kwStyle.Underline;
    kws = kwStyle.StrikeOut;
    kwGrid->addWidget(new QLabel(QStringLiteral("Keywords"), keywords), 5, 0, 1, 2);
    Memokw = new QPlainTextEdit(keywords);
    Memokw->setObjectName(QStringLiteral("Memokw"));
    Memokw->setLineWrapMode(QPlainTextEdit::NoWrap);
    kwGrid->addWidget(Memokw, 6, 0, 1, 2);
    auto* kwButtons = new QHBoxLayout;
    BitBtn2 = button(keywords, "BitBtn2", "New", &TFEditorOptions::BitBtn2Click);
    BitBtn3 = button(keywords, "BitBtn3", "Save", &TFEditorOptions::BitBtn3Click);
    BitBtn4 = button(keywords, "BitBtn4", "Delete", &TFEditorOptions::BitBtn4Click);
    for (QPushButton* b : {BitBtn2, BitBtn3, BitBtn4}) {
        kwButtons->addWidget(b);
    }
    kwGrid->addLayout(kwButtons, 7, 0, 1, 2);
    columns->addWidget(keywords);

    auto* ranges = new QWidget(page);
    auto* rgGrid = new QGridLayout(ranges);
    rgGrid->addWidget(new QLabel(QStringLiteral("Ranges:"), ranges), 0, 0, 1, 2);
    cborg = new QComboBox(ranges);
    cborg->setObjectName(QStringLiteral("cborg"));
    rgGrid->addWidget(cborg, 1, 0, 1, 2);
    rgGrid->addWidget(new QLabel(QStringLiteral("Range Start:"), ranges), 2, 0);
    editrgstart = new QLineEdit(ranges);
    editrgstart->setObjectName(QStringLiteral("editrgstart"));
    rgGrid->addWidget(editrgstart, 2, 1);
    rgGrid->addWidget(new QLabel(QStringLiteral("Range End:"), ranges), 3, 0);
    editrgend = new QLineEdit(ranges);
    editrgend->setObjectName(QStringLiteral("editrgend"));
    rgGrid->addWidget(editrgend, 3, 1);
    rgGrid->addWidget(new QLabel(QStringLiteral("Foreground:"), ranges), 4, 0);
    rgfg = new TColorSwatch(ranges);
    rgfg->setObjectName(QStringLiteral("rgfg"));
    rgGrid->addWidget(rgfg, 4, 1);
    rgGrid->addWidget(new QLabel(QStringLiteral("Background:"), ranges), 5, 0);
    rgbg = new TColorSwatch(ranges);
    rgbg->setObjectName(QStringLiteral("rgbg"));
    rgGrid->addWidget(rgbg, 5, 1);
    TStyleBoxes rgStyle{};
    rgGrid->addWidget(StyleGroup(ranges, QStringLiteral("rg"), rgStyle), 6, 0, 1, 2);
    rgb = rgStyle.Bold;
    rgi = rgStyle.Italic;
    rgu = rgStyle.Underline;
    rgs = rgStyle.StrikeOut;
    rgGrid->setRowStretch(7, 1);
    auto* rgButtons = new QHBoxLayout;
    BitBtn5 = button(ranges, "BitBtn5", "New", &TFEditorOptions::BitBtn5Click);
    BitBtn6 = button(ranges, "BitBtn6", "Save", &TFEditorOptions::BitBtn6Click);
    BitBtn7 = button(ranges, "BitBtn7", "Delete", &TFEditorOptions::BitBtn7Click);
    for (QPushButton* b : {BitBtn5, BitBtn6, BitBtn7}) {
        rgButtons->addWidget(b);
    }
    rgGrid->addLayout(rgButtons, 8, 0, 1, 2);
    columns->addWidget(ranges);

    connect(cbokw, &QComboBox::activated, this, [this] { RunGuarded([this] { cbokwChange(); }); });
    connect(cborg, &QComboBox::activated, this, [this] { RunGuarded([this] { cborgChange(); }); });
    return page;
}

void TFEditorOptions::FillHighlighterLists()
{
    const TCodeRange& root = Root();
    cbokw->clear();
    for (int i = 0; i < root.GetSymbolGroupCount(); ++i) {
        cbokw->addItem(root.GetSymbolGroup(i)->Name);
    }
    cborg->clear();
    for (int i = 0; i < root.GetRangeCount(); ++i) {
        cborg->addItem(root.GetRange(i)->Name);
    }
    cbokw->setCurrentIndex(cbokw->count() > 0 ? 0 : -1);
    cborg->setCurrentIndex(cborg->count() > 0 ? 0 : -1);
    cbokwChange();
    cborgChange();
}

void TFEditorOptions::SelectAndShow(QComboBox& list, const QString& name, void (TFEditorOptions::*show)())
{
    list.setCurrentIndex(list.findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive));
    (this->*show)();
}

void TFEditorOptions::cbokwChange()
{
    const int index = FindKeywordGroup(Root(), cbokw->currentText());
    if (index < 0) {
        return;
    }
    const TKeywordGroupRule group = KeywordGroupRuleOf(Root(), index);
    kwfg->SetColor(group.Foreground);
    kwbg->SetColor(group.Background);
    TStyleBoxes{kwb, kwi, kwu, kws}.Show(group.Style);
    Memokw->setPlainText(group.Keywords.join(QLatin1Char('\n')));
}

void TFEditorOptions::cborgChange()
{
    const int index = FindRangeRule(Root(), cborg->currentText());
    if (index < 0) {
        return;
    }
    const TRangeRule range = RangeRuleOf(Root(), index);
    rgfg->SetColor(range.DefaultForeground);
    rgbg->SetColor(range.DefaultBackground);
    TStyleBoxes{rgb, rgi, rgu, rgs}.Show(range.DefaultStyle);
    editrgstart->setText(range.Open);
    editrgend->setText(range.EndChars);
}

void TFEditorOptions::WriteRules()
{
    try {
        WriteSyntaxHighlight(Root());
    } catch (const Exception& e) {
        // The live highlighter keeps the change; the file stays as it was.
        ShowErrorBox(e.Message());
    }
}

void TFEditorOptions::BitBtn2Click()
{
    const QString name = AskName("Enter Keyword Group", "Group Name:");
    if (name.isEmpty()) {
        return;
    }
    TKeywordGroupRule group;
    group.Name = name;
    Root().Unprepare();
    AddKeywordGroup(Root(), group);
    FillHighlighterLists();
    SelectAndShow(*cbokw, name, &TFEditorOptions::cbokwChange);
    Memokw->setFocus(Qt::OtherFocusReason);
}

void TFEditorOptions::BitBtn3Click()
{
    const QString name = cbokw->currentText();
    const int index = FindKeywordGroup(Root(), name);
    if (index < 0) {
        FillHighlighterLists();
        return;
    }
    TKeywordGroupRule group;
    group.Name = name;
    group.Foreground = kwfg->Color();
    group.Background = kwbg->Color();
    group.Style = TStyleBoxes{kwb, kwi, kwu, kws}.Style();
    group.Keywords = TextToLines(Memokw->toPlainText());
    ReplaceKeywordGroup(Root(), index, group);
    ApplySettingsToEditors();
    WriteRules();
    FillHighlighterLists();
    SelectAndShow(*cbokw, name, &TFEditorOptions::cbokwChange);
}

void TFEditorOptions::BitBtn4Click()
{
    const QString name = cbokw->currentText();
    if (MessageDlg("Delete Keyword Group: " + name.toStdString() + "?", TMsgDlgType::mtConfirmation,
                   mbYes | mbNo | mbCancel) != TModalResult::mrYes) {
        return;
    }
    const int index = FindKeywordGroup(Root(), name);
    if (index >= 0) {
        Root().DeleteSymbolGroup(index);
    }
    Root().Unprepare();
    ApplySettingsToEditors();
    WriteRules();
    FillHighlighterLists();
}

void TFEditorOptions::BitBtn5Click()
{
    const QString name = AskName("Enter Range Name", "Range Name:");
    if (name.isEmpty()) {
        return;
    }
    auto range = std::make_unique<TCodeRange>(QString(), QString());
    range->Name = name;
    Root().Unprepare();
    Root().AddRange(std::move(range));
    FillHighlighterLists();
    SelectAndShow(*cborg, name, &TFEditorOptions::cborgChange);
    editrgstart->setFocus(Qt::OtherFocusReason);
}

void TFEditorOptions::BitBtn6Click()
{
    const QString name = cborg->currentText();
    const int index = FindRangeRule(Root(), name);
    if (index < 0) {
        FillHighlighterLists();
        return;
    }
    TRangeRule range;
    range.Name = name;
    range.Open = editrgstart->text();
    range.EndChars = editrgend->text();
    range.DefaultForeground = range.NumberForeground = rgfg->Color();
    range.DefaultBackground = range.NumberBackground = rgbg->Color();
    range.DefaultStyle = TStyleBoxes{rgb, rgi, rgu, rgs}.Style();
    ReplaceRangeRule(Root(), index, range);
    ApplySettingsToEditors();
    WriteRules();
    FillHighlighterLists();
    SelectAndShow(*cborg, name, &TFEditorOptions::cborgChange);
}

void TFEditorOptions::BitBtn7Click()
{
    const QString name = cborg->currentText();
    if (MessageDlg("Delete Range: " + name.toStdString() + "?", TMsgDlgType::mtConfirmation,
                   mbYes | mbNo | mbCancel) != TModalResult::mrYes) {
        return;
    }
    const int index = FindRangeRule(Root(), name);
    if (index >= 0) {
        Root().DeleteRange(index);
    }
    Root().Unprepare();
    ApplySettingsToEditors();
    // As ever, a deleted range reaches the settings file with the next write.
    FillHighlighterLists();
}
