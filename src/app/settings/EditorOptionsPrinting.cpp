// The editor options dialog's Printing page: the print settings, saved to the main
// settings file and applied to the data module's print engine.
#include "app/settings/EditorOptionsForm.h"

#include "app/shell/BtnEdit.h"
#include "app/shell/DataModule.h"
#include "app/settings/EditorSettings.h"
#include "app/printing/PrintSettingsApply.h"

#include "platform/core/services/DialogService.h"
#include "platform/gui/ActionList.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>

#include <array>

namespace {

struct TMargin {
    QSpinBox* TFEditorOptions::*Field;
    double TPrintSettings::*Value;
};

constexpr std::array<TMargin, 5> Margins{{
    {&TFEditorOptions::psMarginLeft, &TPrintSettings::MarginLeft},
    {&TFEditorOptions::psMarginRight, &TPrintSettings::MarginRight},
    {&TFEditorOptions::psMarginTop, &TPrintSettings::MarginTop},
    {&TFEditorOptions::psMarginBottom, &TPrintSettings::MarginBottom},
    {&TFEditorOptions::psMarginGutter, &TPrintSettings::MarginGutter},
}};

struct TCheck {
    QCheckBox* TFEditorOptions::*Box;
    bool TPrintSettings::*Value;
};

constexpr std::array<TCheck, 7> Checks{{
    {&TFEditorOptions::psPrintHeader, &TPrintSettings::PrintHeader},
    {&TFEditorOptions::psPrintFooter, &TPrintSettings::PrintFooter},
    {&TFEditorOptions::psLineNumbers, &TPrintSettings::LineNumbers},
    {&TFEditorOptions::psLineNumInMargin, &TPrintSettings::LineNumInMargin},
    {&TFEditorOptions::psSyntaxPrint, &TPrintSettings::SyntaxPrint},
    {&TFEditorOptions::psUseColors, &TPrintSettings::UseColors},
    {&TFEditorOptions::psWrapLines, &TPrintSettings::WrapLines},
}};

struct TText {
    TBtnEdit* TFEditorOptions::*Edit;
    std::string TPrintSettings::*Value;
};

constexpr std::array<TText, 6> Texts{{
    {&TFEditorOptions::psHeaderLeft, &TPrintSettings::HeaderLeft},
    {&TFEditorOptions::psHeaderCenter, &TPrintSettings::HeaderCenter},
    {&TFEditorOptions::psHeaderRight, &TPrintSettings::HeaderRight},
    {&TFEditorOptions::psFooterLeft, &TPrintSettings::FooterLeft},
    {&TFEditorOptions::psFooterCenter, &TPrintSettings::FooterCenter},
    {&TFEditorOptions::psFooterRight, &TPrintSettings::FooterRight},
}};

QCheckBox* CheckBox(QWidget* parent, const char* name, const char* caption)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace

QWidget* TFEditorOptions::CreatePrintingPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet4"));
    auto* grid = new QGridLayout(page);

    // The header's and the footer's check box and three macro fields.
    const auto headerFooter = [&](const char* title, const char* prefix, QCheckBox*& print, TBtnEdit*& left,
                                  TBtnEdit*& center, TBtnEdit*& right) {
        auto* group = new QGroupBox(QString::fromUtf8(title), page);
        auto* layout = new QGridLayout(group);
        print = CheckBox(group, (std::string("psPrint") + prefix).c_str(), (std::string("Print ") + prefix).c_str());
        layout->addWidget(print, 0, 0, 1, 2);
        int row = 1;
        for (auto [edit, side, caption] : {std::tuple{&left, "Left", "Left:"}, std::tuple{&center, "Center", "Center:"},
                                           std::tuple{&right, "Right", "Right:"}}) {
            *edit = new TBtnEdit(group);
            (*edit)->setObjectName(QStringLiteral("ps%1%2").arg(QLatin1String(prefix), QLatin1String(side)));
            TBtnEdit* target = *edit;
            // The layout gives the height; a resize of its own would fight it.
            target->AutoSize = false;
            target->SetOnBtnClick([this, target] { ShowMacroMenu(*target); });
            layout->addWidget(new QLabel(QString::fromUtf8(caption), group), row, 0);
            layout->addWidget(target, row, 1);
            ++row;
        }
        return group;
    };
    GroupBoxHeader = headerFooter("Header", "Header", psPrintHeader, psHeaderLeft, psHeaderCenter, psHeaderRight);
    GroupBoxFooter = headerFooter("Footer", "Footer", psPrintFooter, psFooterLeft, psFooterCenter, psFooterRight);
    grid->addWidget(GroupBoxHeader, 0, 0);
    grid->addWidget(GroupBoxFooter, 1, 0);

    auto* margins = new QGroupBox(QStringLiteral("Margins"), page);
    auto* marginGrid = new QGridLayout(margins);
    int row = 0;
    for (auto [field, name, caption] :
         {std::tuple{&psMarginLeft, "psMarginLeft", "Left:"}, std::tuple{&psMarginRight, "psMarginRight", "Right:"},
          std::tuple{&psMarginTop, "psMarginTop", "Top:"}, std::tuple{&psMarginBottom, "psMarginBottom", "Bottom:"},
          std::tuple{&psMarginGutter, "psMarginGutter", "Gutter:"}}) {
        *field = new QSpinBox(margins);
        (*field)->setObjectName(QLatin1String(name));
        (*field)->setRange(0, 100);
        marginGrid->addWidget(new QLabel(QString::fromUtf8(caption), margins), row, 0);
        marginGrid->addWidget(*field, row, 1);
        ++row;
    }
    grid->addWidget(margins, 0, 1);

    auto* options = new QGroupBox(QStringLiteral("Options"), page);
    auto* optionList = new QVBoxLayout(options);
    psLineNumbers = CheckBox(options, "psLineNumbers", "Line numbers");
    psLineNumInMargin = CheckBox(options, "psLineNumInMargin", "Print line numbers in margin");
    psSyntaxPrint = CheckBox(options, "psSyntaxPrint", "Syntax print");
    psUseColors = CheckBox(options, "psUseColors", "Use colors");
    psWrapLines = CheckBox(options, "psWrapLines", "Wrap lines");
    for (QCheckBox* box : {psLineNumbers, psLineNumInMargin, psSyntaxPrint, psUseColors, psWrapLines}) {
        optionList->addWidget(box);
    }
    grid->addWidget(options, 1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Button3 = new QPushButton(QStringLiteral("Save"), page);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setAutoDefault(false);
    buttons->addWidget(Button3);
    grid->addLayout(buttons, 2, 0, 1, 2);
    connect(Button3, &QPushButton::clicked, this, [this] { RunGuarded([this] { StorePrintSettings(); }); });

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const auto macro = [&](const char* name, const char* caption, const char* text) {
        QAction* item = PopupMenu1->addAction(QString::fromUtf8(caption));
        item->setObjectName(QLatin1String(name));
        const QString inserted = QString::fromUtf8(text);
        connect(item, &QAction::triggered, this, [this, inserted] { RunGuarded([&] { InsertMacro(inserted); }); });
    };
    macro("itle1", "Title", "$TITLE$");
    PopupMenu1->addSeparator();
    macro("Date1", "Date", "$DATE$");
    macro("ime1", "Time", "$TIME$");
    PopupMenu1->addSeparator();
    macro("PageCount1", "Page Count", "$PAGECOUNT$");
    macro("PageNumber1", "Page Number", "$PAGENUM$");
    return page;
}

void TFEditorOptions::LoadPrintSettings()
{
    TPrintSettings& settings = PrintSettings();
    settings.Load();
    for (const TCheck& check : Checks) {
        (this->*check.Box)->setChecked(settings.*check.Value);
    }
    for (const TText& text : Texts) {
        (this->*text.Edit)->setText(QString::fromStdString(settings.*text.Value));
    }
    for (const TMargin& margin : Margins) {
        (this->*margin.Field)->setValue(RoundMargin(settings.*margin.Value));
    }
}

void TFEditorOptions::StorePrintSettings()
{
    std::array<int, Margins.size()> values{};
    for (std::size_t i = 0; i < Margins.size(); ++i) {
        if (!ReadNumberField(*(this->*Margins[i].Field), values[i])) {
            ShowErrorBox("Invaled margin value.");
            return;
        }
    }
    TPrintSettings& settings = PrintSettings();
    for (std::size_t i = 0; i < Margins.size(); ++i) {
        settings.*Margins[i].Value = values[i];
    }
    for (const TCheck& check : Checks) {
        settings.*check.Value = (this->*check.Box)->isChecked();
    }
    for (const TText& text : Texts) {
        settings.*text.Value = (this->*text.Edit)->text().toStdString();
    }
    try {
        settings.Save();
    } catch (const Exception& e) {
        ShowErrorBox(e.Message());
    }
    ApplyPrintSettings();
}

void TFEditorOptions::ApplyPrintSettings()
{
    ::ApplyPrintSettings(PrintSettings(), *dm->CodeEditPrint);
}

QPoint TFEditorOptions::MacroMenuPoint(const TBtnEdit& edit) const
{
    const QWidget* group = edit.parentWidget();
    const QPoint corner = frameGeometry().topLeft();
    return {corner.x() + group->x() + edit.x() + edit.width() - 11,
            corner.y() + group->y() + edit.y() + edit.height() + 44};
}

void TFEditorOptions::ShowMacroMenu(TBtnEdit& edit)
{
    MacroTarget = &edit;
    PopupMenu1->popup(MacroMenuPoint(edit));
}

void TFEditorOptions::InsertMacro(const QString& macro)
{
    if (MacroTarget != nullptr) {
        MacroTarget->insert(macro);
    }
}
