// The editor options dialog's frame and its General page.
#include "app/settings/EditorOptionsForm.h"

#include "app/shell/ColorSwatch.h"
#include "app/shell/DataModule.h"
#include "app/pages/EditorInterfaces.h"
#include "app/settings/EditorSettings.h"

#include "platform/core/Assert.h"
#include "platform/core/services/DialogService.h"
#include "platform/core/text/NumberFormat.h"
#include "platform/gui/ActionList.h"
#include "platform/gui/QtModalForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

TFEditorOptions* FEditorOptions = nullptr;

namespace {

QSpinBox* NumberField(QWidget* parent, const char* name, int minimum, int maximum, int step = 1)
{
    auto* field = new QSpinBox(parent);
    field->setObjectName(QLatin1String(name));
    field->setRange(minimum, maximum);
    field->setSingleStep(step);
    return field;
}

QCheckBox* CheckBox(QWidget* parent, const char* name, const char* caption)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

// Checks every number field before anything is stored: the first that holds no valid
// value is reported.
bool ReadNumberFields(std::initializer_list<std::pair<QSpinBox*, int*>> fields)
{
    for (const auto& [field, value] : fields) {
        if (!ReadNumberField(*field, *value)) {
            ShowErrorBox("'" + field->cleanText().toStdString() + "' is not a valid value: a whole number from " +
                         IntToStr(field->minimum()) + " to " + IntToStr(field->maximum()) + " is needed.");
            field->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    return true;
}

} // namespace

bool ReadNumberField(const QSpinBox& field, int& value)
{
    int read = 0;
    if (!TryStrToInt(field.cleanText().toStdString(), read) || read < field.minimum() || read > field.maximum()) {
        return false;
    }
    value = read;
    return true;
}

TFEditorOptions::TFEditorOptions(QWidget* parent) : QDialog(parent)
{
    KP_ASSERT(dm != nullptr);
    setObjectName(QStringLiteral("FEditorOptions"));
    setWindowTitle(QStringLiteral("Editor Options"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(637, 455);

    auto* layout = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = CreateGeneralPage();
    TabSheet2 = CreateHighlightingPage();
    TabSheet3 = CreateCodeInsertPage();
    TabSheet4 = CreatePrintingPage();
    PageControl1->addTab(TabSheet1, QStringLiteral("General"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Syntax Highlighting"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Code Insert"));
    PageControl1->addTab(TabSheet4, QStringLiteral("Printing"));
    layout->addWidget(PageControl1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    BitBtn1 = new QPushButton(QStringLiteral("&Close"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    SetModalResult(*BitBtn1, *this, TModalResult::mrCancel);
    bottom->addWidget(BitBtn1);
    layout->addLayout(bottom);

    LoadEditorSettings();
    FillHighlighterLists();
    LoadCodeInsert();
    LoadPrintSettings();
    StorePrintSettings();
    PageControl1->setCurrentWidget(TabSheet1);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { RunGuarded([this] { PageControl1Change(); }); });
}

TFEditorOptions::~TFEditorOptions()
{
    if (FEditorOptions == this) {
        FEditorOptions = nullptr;
    }
}

TEditorSettings& TFEditorOptions::EditorSettings()
{
    return dm->EditorOptions.EditorSettings;
}

TPrintSettings& TFEditorOptions::PrintSettings()
{
    return dm->EditorOptions.PrintSettings;
}

void TFEditorOptions::Execute()
{
    ShowModalDialog(*this, "FEditorOptions");
}

void TFEditorOptions::ExecutePrintOptions()
{
    PageControl1->setCurrentWidget(TabSheet4);
    Execute();
    ApplyPrintSettings();
}

void TFEditorOptions::PageControl1Change()
{
    LoadCodeInsert();
}

// --- General ---------------------------------------------------------------------------

QWidget* TFEditorOptions::CreateGeneralPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* grid = new QGridLayout(page);
    const auto label = [&](const char* text, int row, int column) {
        grid->addWidget(new QLabel(QString::fromUtf8(text), page), row, column);
    };

    label("Color:", 0, 0);
    esMainColor = new TColorSwatch(page);
    esMainColor->setObjectName(QStringLiteral("esMainColor"));
    grid->addWidget(esMainColor, 0, 1);

    auto* fontGroup = new QGroupBox(QStringLiteral("Font"), page);
    auto* fontGrid = new QGridLayout(fontGroup);
    fontGrid->addWidget(new QLabel(QStringLiteral("Color:"), fontGroup), 0, 0);
    fontcolor = new TColorSwatch(fontGroup);
    fontcolor->setObjectName(QStringLiteral("fontcolor"));
    fontGrid->addWidget(fontcolor, 0, 1);
    fontGrid->addWidget(new QLabel(QStringLiteral("Size:"), fontGroup), 1, 0);
    fontsize = NumberField(fontGroup, "fontsize", 1, 100);
    fontGrid->addWidget(fontsize, 1, 1);
    grid->addWidget(fontGroup, 1, 0, 2, 2);

    label("Selection Foreground:", 3, 0);
    esSelectedFG = new TColorSwatch(page);
    esSelectedFG->setObjectName(QStringLiteral("esSelectedFG"));
    grid->addWidget(esSelectedFG, 3, 1);
    label("Selection Background:", 4, 0);
    esSelectedBG = new TColorSwatch(page);
    esSelectedBG->setObjectName(QStringLiteral("esSelectedBG"));
    grid->addWidget(esSelectedBG, 4, 1);

    esSmartTabs = CheckBox(page, "esSmartTabs", "Smart Tabs");
    grid->addWidget(esSmartTabs, 0, 2);
    esAutoIndent = CheckBox(page, "esAutoIndent", "Auto Indent");
    grid->addWidget(esAutoIndent, 1, 2);
    label("Tab Width:", 2, 2);
    esTabWidth = NumberField(page, "esTabWidth", 0, 50);
    grid->addWidget(esTabWidth, 2, 3);

    auto* gutterGroup = new QGroupBox(QStringLiteral("Gutter"), page);
    auto* gutterGrid = new QGridLayout(gutterGroup);
    gutterGrid->addWidget(new QLabel(QStringLiteral("Color:"), gutterGroup), 0, 0);
    esGutterColor = new TColorSwatch(gutterGroup);
    esGutterColor->setObjectName(QStringLiteral("esGutterColor"));
    gutterGrid->addWidget(esGutterColor, 0, 1);
    esGutterVisible = CheckBox(gutterGroup, "esGutterVisible", "Visible");
    gutterGrid->addWidget(esGutterVisible, 1, 0, 1, 2);
    esGutterLineNumbers = CheckBox(gutterGroup, "esGutterLineNumbers", "Line Numbers");
    gutterGrid->addWidget(esGutterLineNumbers, 2, 0, 1, 2);
    grid->addWidget(gutterGroup, 3, 2, 2, 2);

    label("Default Text for New File:", 5, 0);
    cbodefnewfile = new QComboBox(page);
    cbodefnewfile->setObjectName(QStringLiteral("cbodefnewfile"));
    grid->addWidget(cbodefnewfile, 5, 1, 1, 3);
    label("Editor Min Width:", 6, 0);
    Edit1 = NumberField(page, "Edit1", 1, 5000, 10);
    grid->addWidget(Edit1, 6, 1);
    label("Preview Min Width:", 6, 2);
    Edit2 = NumberField(page, "Edit2", 1, 5000, 10);
    grid->addWidget(Edit2, 6, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Button1 = new QPushButton(QStringLiteral("Save"), page);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Defaults"), page);
    Button2->setObjectName(QStringLiteral("Button2"));
    for (QPushButton* button : {Button1, Button2}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    grid->addLayout(buttons, 7, 0, 1, 4);
    grid->setRowStretch(8, 1);
    connect(Button1, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button2Click(); }); });
    return page;
}

void TFEditorOptions::LoadEditorSettings()
{
    TEditorSettings& settings = EditorSettings();
    settings.Load();
    esMainColor->SetColor(settings.MainColor);
    fontcolor->SetColor(settings.Font.Color());
    fontsize->setValue(settings.Font.Size());
    esSelectedFG->SetColor(settings.SelectedFG);
    esSelectedBG->SetColor(settings.SelectedBG);
    esSmartTabs->setChecked(settings.SmartTabs);
    esAutoIndent->setChecked(settings.AutoIndent);
    esTabWidth->setValue(settings.TabWidth);
    esGutterColor->SetColor(settings.GutterColor);
    esGutterVisible->setChecked(settings.GutterVisible);
    esGutterLineNumbers->setChecked(settings.GutterLineNumbers);
    Edit1->setValue(settings.EdMinW);
    Edit2->setValue(settings.PrevMinW);
    cbodefnewfile->setCurrentIndex(settings.DefNewFile + 1);
}

bool TFEditorOptions::StoreEditorSettings()
{
    int size = 0;
    int tabWidth = 0;
    int editorWidth = 0;
    int previewWidth = 0;
    if (!ReadNumberFields({{fontsize, &size}, {esTabWidth, &tabWidth}, {Edit1, &editorWidth}, {Edit2, &previewWidth}})) {
        return false;
    }
    TEditorSettings& settings = EditorSettings();
    settings.MainColor = esMainColor->Color();
    settings.Font.SetColor(fontcolor->Color());
    settings.Font.SetSize(size);
    settings.SelectedFG = esSelectedFG->Color();
    settings.SelectedBG = esSelectedBG->Color();
    settings.SmartTabs = esSmartTabs->isChecked();
    settings.AutoIndent = esAutoIndent->isChecked();
    settings.TabWidth = tabWidth;
    settings.GutterColor = esGutterColor->Color();
    settings.GutterVisible = esGutterVisible->isChecked();
    settings.GutterLineNumbers = esGutterLineNumbers->isChecked();
    settings.DefNewFile = cbodefnewfile->currentIndex() - 1;
    settings.EdMinW = editorWidth;
    settings.PrevMinW = previewWidth;
    try {
        settings.Save();
    } catch (const Exception& e) {
        // The settings in memory keep the change; the file stays as it was.
        ShowErrorBox(e.Message());
    }
    return true;
}

void TFEditorOptions::Button1Click()
{
    if (StoreEditorSettings()) {
        ApplySettingsToEditors();
    }
}

void TFEditorOptions::ApplySettingsToEditors()
{
    if (!EditorFactory) {
        return;
    }
    for (int i = EditorFactory->GetEditorCount() - 1; i >= 0; --i) {
        EditorFactory->GetEditor(i)->ApplySettings(EditorSettings());
    }
}

void TFEditorOptions::Button2Click()
{
    if (MessageDlg("This will remove current settings and restore defaults, continue?", TMsgDlgType::mtWarning,
                   mbYes | mbNo | mbCancel) != TModalResult::mrYes) {
        return;
    }
    esMainColor->SetColor(clWindow);
    fontcolor->SetColor(clWindowText);
    fontsize->setValue(10);
    esSelectedFG->SetColor(clHighlightText);
    esSelectedBG->SetColor(clHighlight);
    esSmartTabs->setChecked(false);
    esAutoIndent->setChecked(true);
    esTabWidth->setValue(5);
    esGutterColor->SetColor(clBtnFace);
    esGutterVisible->setChecked(true);
    esGutterLineNumbers->setChecked(true);
    cbodefnewfile->setCurrentIndex(0);
}
