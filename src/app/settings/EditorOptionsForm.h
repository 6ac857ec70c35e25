#pragma once
// The editor options dialog ("Editor Options"), made once at start-up and kept for the
// program's run (FEditorOptions): four pages that each save their own part at once with
// their own Save button, and "&Close" (or Escape) that only hides the dialog.
//   General: the editor settings, applied to every open page on Save.
//   Syntax Highlighting: the keyword groups and ranges of the data module's universal
//     highlighter, applied to every page and written to the main settings file.
//   Code Insert: the items of KerfpadCI.ini, handed to the completion list.
//   Printing: the print settings, applied to the data module's print engine.
// The settings themselves live in the data module (dm->EditorOptions); the pages show
// them. The code of each page is in a file of its own (EditorOptions*.cpp).

#include "app/settings/CodeInsertItems.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QGroupBox;
class TBtnEdit;
class TColorSwatch;
class TEditorSettings;
struct TPrintSettings;

class TFEditorOptions : public QDialog {
public:
    // FormCreate: loads the editor settings, fills the highlighting lists, loads the code
    // insert items, loads, writes back and applies the print settings; General shows.
    // The data module must exist.
    explicit TFEditorOptions(QWidget* parent = nullptr);
    // Clears FEditorOptions when it points here.
    ~TFEditorOptions() override;

    // Shows the dialog modally through the dialog service ("FEditorOptions").
    void Execute();
    // The same on the Printing page, then the print settings are applied once more.
    void ExecutePrintOptions();

    TEditorSettings& EditorSettings();
    TPrintSettings& PrintSettings();
    TCodeInsertItems CodeInsertItems;
    // Item `index`'s value with its line breaks as "~"; "" outside the items.
    QString GetCodeInsertValue(int index) const { return CodeInsertItems.GetCodeInsertValue(index); }

    // --- frame ---
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    QWidget* TabSheet4;
    QPushButton* BitBtn1;
    void PageControl1Change();

    // --- General ---
    TColorSwatch* esMainColor;
    TColorSwatch* fontcolor;
    QSpinBox* fontsize;
    TColorSwatch* esSelectedFG;
    TColorSwatch* esSelectedBG;
    QCheckBox* esSmartTabs;
    QCheckBox* esAutoIndent;
    QSpinBox* esTabWidth;
    TColorSwatch* esGutterColor;
    QCheckBox* esGutterVisible;
    QCheckBox* esGutterLineNumbers;
    QComboBox* cbodefnewfile;
    QSpinBox* Edit1; // editor minimum width
    QSpinBox* Edit2; // preview minimum width
    QPushButton* Button1;
    QPushButton* Button2;
    void LoadEditorSettings();
    // The controls into the settings and the settings file; false (with an error box,
    // nothing stored) when a number field holds no valid value.
    bool StoreEditorSettings();
    void Button1Click();
    void Button2Click();
    // Every page, last first, takes the editor settings.
    void ApplySettingsToEditors();

    // --- Syntax Highlighting ---
    QComboBox* cbokw;
    TColorSwatch* kwfg;
    TColorSwatch* kwbg;
    QCheckBox* kwb;
    QCheckBox* kwi;
    QCheckBox* kwu;
    QCheckBox* kws;
    QPlainTextEdit* Memokw;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
    QPushButton* BitBtn4;
    QComboBox* cborg;
    QLineEdit* editrgstart;
    QLineEdit* editrgend;
    TColorSwatch* rgfg;
    TColorSwatch* rgbg;
    QCheckBox* rgb;
    QCheckBox* rgi;
    QCheckBox* rgu;
    QCheckBox* rgs;
    QPushButton* BitBtn5;
    QPushButton* BitBtn6;
    QPushButton* BitBtn7;
    void FillHighlighterLists();
    void cbokwChange();
    void cborgChange();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn6Click();
    void BitBtn7Click();

    // --- Code Insert ---
    QListWidget* ListBoxItems;
    QPlainTextEdit* MemoValues;
    QPushButton* BitBtn8;
    QPushButton* BitBtn9;
    QPushButton* BitBtn10;
    // Reads the file (a bad one: an error box, and the items and the file stay as they
    // were), writes it back, refills the completion list and the default-text list.
    void LoadCodeInsert();
    // Writes the file and refills the completion list and the pages' new-file texts.
    void SaveCodeInsert();
    void FillCodeInsertList();
    void ListBoxItemsClick();
    void BitBtn8Click();
    void BitBtn9Click();
    void BitBtn10Click();

    // --- Printing ---
    QGroupBox* GroupBoxHeader;
    QGroupBox* GroupBoxFooter;
    QSpinBox* psMarginLeft;
    QSpinBox* psMarginRight;
    QSpinBox* psMarginTop;
    QSpinBox* psMarginBottom;
    QSpinBox* psMarginGutter;
    QCheckBox* psPrintHeader;
    TBtnEdit* psHeaderLeft;
    TBtnEdit* psHeaderCenter;
    TBtnEdit* psHeaderRight;
    QCheckBox* psPrintFooter;
    TBtnEdit* psFooterLeft;
    TBtnEdit* psFooterCenter;
    TBtnEdit* psFooterRight;
    QCheckBox* psLineNumbers;
    QCheckBox* psLineNumInMargin;
    QCheckBox* psSyntaxPrint;
    QCheckBox* psUseColors;
    QCheckBox* psWrapLines;
    QPushButton* Button3;
    QMenu* PopupMenu1;
    // The edit whose button last opened the macro menu.
    TBtnEdit* MacroTarget = nullptr;
    void LoadPrintSettings();
    // The controls into the settings and the settings file, then ApplyPrintSettings; a
    // margin that is not a whole number from 0 to 100 gives "Invaled margin value." and
    // changes nothing.
    void StorePrintSettings();
    void ApplyPrintSettings();
    // Remembers the edit and pops the macro menu up at MacroMenuPoint.
    void ShowMacroMenu(TBtnEdit& edit);
    // The dialog's corner plus the group's and the edit's places, at the edit's right end
    // less 11 and 44 below its bottom.
    QPoint MacroMenuPoint(const TBtnEdit& edit) const;
    // The macro in place of MacroTarget's selection, at its caret.
    void InsertMacro(const QString& macro);

private:
    QWidget* CreateGeneralPage();
    QWidget* CreateHighlightingPage();
    QWidget* CreateCodeInsertPage();
    QWidget* CreatePrintingPage();
    void ShowCodeInsertItem(int index);
    void SetCompletionItems();
    void FillDefNewFileList();
    void WriteRules();
    void SelectAndShow(QComboBox& list, const QString& name, void (TFEditorOptions::*show)());
};

// The one dialog of the program's run; nullptr before start-up and after it is gone.
extern TFEditorOptions* FEditorOptions;

// A number field's value: its text read as a whole number within the field's range;
// false when it holds none.
bool ReadNumberField(const QSpinBox& field, int& value);
