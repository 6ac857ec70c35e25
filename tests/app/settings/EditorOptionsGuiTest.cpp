// The editor options dialog on the offscreen platform: its four pages against real
// pages, the settings file, KerfpadCI.ini, the completion list and the print engine.

#include "app/settings/CodeInsertItems.h"
#include "app/settings/EditorOptionsForm.h"
#include "app/settings/EditorSettings.h"
#include "app/settings/HighlightRulesFile.h"
#include "app/settings/SyntaxRules.h"

#include "../ShellTestSupport.h"

#include "app/shell/BtnEdit.h"
#include "app/shell/ColorSwatch.h"
#include "editor/completion/CodeCompletionProposal.h"
#include "editor/printing/CodeEditPrint.h"
#include "editor/highlighting/CodeRuleHighlighter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <vector>

namespace {

class EditorOptionsGui : public TPageTest {
protected:
    TFEditorOptions& Options()
    {
        if (!FOptions) {
            FOptions = std::make_unique<TFEditorOptions>();
        }
        return *FOptions;
    }
    TCodeRange& Root() { return *Dm.CodeRuleHighlighter1->RootRange(); }
    static void SetText(QSpinBox& field, const QString& text) { field.findChild<QLineEdit*>()->setText(text); }
    void WriteItems(const std::string& text) const { WriteText("KerfpadCI.ini", text); }
    void ReadRules()
    {
        ReadCodeHigh(Dm, Settings());
    }

private:
    std::unique_ptr<TFEditorOptions> FOptions;
};

TEST_F(EditorOptionsGui, CreationWritesBackAndAppliesThePrintSettingsAndEscapeHides)
{
    TFEditorOptions& o = Options();
    EXPECT_EQ(Settings().ReadString(PrintSettingsSection, "HeaderLeft", ""), "$TITLE$");
    EXPECT_EQ(Dm.CodeEditPrint->Header().Count(), 3);
    o.show();
    QTest::keyClick(&o, Qt::Key_Escape);
    EXPECT_FALSE(o.isVisible());
}

TEST_F(EditorOptionsGui, DefaultsThenCloseChangesNothing)
{
    WriteSettings("[Editor]\nMainColor=255\nFontSize=14\nTabWidth=3\nAutoIndent=0\nEdMinW=420\n");
    TFEditorOptions& o = Options();
    const auto page = NewPage();
    EXPECT_EQ(Code(page).TabWidth(), 3);
    const std::string before = ReadSettings();

    Dialogs.ExpectMessage("This will remove current settings and restore defaults, continue?", TModalResult::mrNo);
    o.Button2->click();
    EXPECT_EQ(o.fontsize->value(), 14) << "No keeps the controls";
    Dialogs.ExpectMessage("This will remove current settings and restore defaults, continue?", TModalResult::mrYes);
    o.Button2->click();
    EXPECT_EQ(o.esMainColor->Color(), clWindow);
    EXPECT_EQ(o.fontsize->value(), 10);
    EXPECT_EQ(o.esTabWidth->value(), 5);
    EXPECT_TRUE(o.esAutoIndent->isChecked());
    EXPECT_EQ(o.cbodefnewfile->currentIndex(), 0);
    EXPECT_EQ(o.Edit1->value(), 420) << "the widths keep their values";

    o.show();
    o.BitBtn1->click();
    EXPECT_FALSE(o.isVisible());
    EXPECT_EQ(ReadSettings(), before);
    EXPECT_EQ(Code(page).TabWidth(), 3);
    EXPECT_EQ(Code(page).Color(), 255);
    EXPECT_EQ(o.EditorSettings().TabWidth, 3);
    EXPECT_EQ(o.fontsize->value(), 10) << "the next opening shows the defaults still";
}

TEST_F(EditorOptionsGui, SaveRestylesEveryPageAndWritesTheSettings)
{
    TFEditorOptions& o = Options();
    const auto first = NewPage();
    const auto second = NewPage();
    o.fontsize->setValue(14);
    o.esTabWidth->setValue(2);
    Dialogs.ExpectColor(clYellow);
    o.esMainColor->PickColor();
    EXPECT_EQ(Dialogs.ColorsShown, std::vector<TColor>{clWindow}) << "the dialog starts with the panel's colour";
    Dialogs.ExpectColor(std::nullopt);
    o.esGutterColor->PickColor();
    EXPECT_EQ(o.esGutterColor->Color(), clBtnFace) << "cancelled";
    o.Button1->click();
    for (const auto& page : {first, second}) {
        EXPECT_EQ(Code(page).Font().Size(), 14);
        EXPECT_EQ(Code(page).TabWidth(), 2);
        EXPECT_EQ(Code(page).Color(), clYellow);
    }
    const TIniFile ini = Settings();
    EXPECT_EQ(ini.ReadInteger(EditorSection, "FontSize", 0), 14);
    EXPECT_EQ(ini.ReadInteger(EditorSection, "MainColor", 0), clYellow);
}

TEST_F(EditorOptionsGui, ANumberFieldWithoutANumberStoresNothing)
{
    TFEditorOptions& o = Options();
    o.esTabWidth->setValue(9);
    SetText(*o.fontsize, "");
    Dialogs.ExpectMessage("'' is not a valid value: a whole number from 1 to 100 is needed.", TModalResult::mrOk);
    o.Button1->click();
    EXPECT_EQ(o.EditorSettings().TabWidth, 5) << "checked before anything is stored";
    EXPECT_FALSE(std::filesystem::exists(SettingsPath()) && Settings().ValueExists(EditorSection, "TabWidth"));
}

TEST_F(EditorOptionsGui, NoneStoresMinusOneAndAnItemItsIndex)
{
    WriteItems("[Code Insert]\nItemCount=2\nItem1=Header\nValue1=' top\nItem2=Lines\nValue2=A~B~C\n");
    TFEditorOptions& o = Options();
    ASSERT_EQ(o.cbodefnewfile->count(), 3);
    EXPECT_EQ(o.cbodefnewfile->itemText(0), "(None)");
    o.cbodefnewfile->setCurrentIndex(0);
    o.Button1->click();
    EXPECT_EQ(Settings().ReadInteger(EditorSection, "DefNewFile", 9), -1);
    o.cbodefnewfile->setCurrentIndex(2);
    o.Button1->click();
    EXPECT_EQ(Settings().ReadInteger(EditorSection, "DefNewFile", 9), 1);
    EXPECT_EQ(o.GetCodeInsertValue(1), "A~B~C");
    EXPECT_EQ(o.GetCodeInsertValue(2), "");
    EXPECT_EQ(Code(NewPage()).LineCount(), 3) << "a new page starts with the item's lines";
}

// --- Syntax Highlighting ------------------------------------------------------------------

TEST_F(EditorOptionsGui, NewSaveAndDeleteOfAKeywordGroup)
{
    ReadRules();
    TFEditorOptions& o = Options();
    Dialogs.ExpectInput("   ");
    Dialogs.ExpectMessage("Invalid name", TModalResult::mrOk);
    o.BitBtn2->click();
    Dialogs.ExpectInput(std::nullopt);
    o.BitBtn2->click();
    EXPECT_EQ(Root().GetSymbolGroupCount(), 0);
    const std::pair<std::string, std::string> groupPrompt("Enter Keyword Group", "Group Name:");
    EXPECT_EQ(Dialogs.InputPrompts.back(), groupPrompt);

    Dialogs.ExpectInput("  Moves ");
    o.BitBtn2->click();
    EXPECT_EQ(o.cbokw->currentText(), "Moves");
    EXPECT_EQ(Root().GetSymbolGroupCount(), 1);
    EXPECT_FALSE(std::filesystem::exists(SettingsPath()) && Settings().SectionExists("kw1")) << "not before a save";

    const auto page = NewPage();
    o.Memokw->setPlainText("MS\nJS");
    o.kwb->setChecked(true);
    o.kwu->setChecked(true);
    Dialogs.ExpectColor(clRed);
    o.kwfg->PickColor();
    o.BitBtn3->click();
    EXPECT_EQ(SectionLines("kw1"), (std::vector<std::string>{"Name=Moves", "FG=255", "BG=536870911", "Style=BU",
                                                             "kwList=MS~JS~"}));
    TCodeRuleHighlighter& highlighter = *Dm.CodeRuleHighlighter1;
    highlighter.SetLine("js,1", 0);
    EXPECT_EQ(highlighter.GetTokenAttribute()->Foreground(), clRed) << "the live highlighter has the group";
    EXPECT_EQ(Code(page).Highlighter(), &highlighter);

    Dialogs.ExpectMessage("Delete Keyword Group: Moves?", TModalResult::mrYes);
    o.BitBtn4->click();
    EXPECT_EQ(Root().GetSymbolGroupCount(), 0);
    EXPECT_EQ(o.cbokw->count(), 0);
    EXPECT_EQ(Settings().ReadInteger(SyntaxHighlightSection, "nkw", -1), 0);
    EXPECT_FALSE(Settings().SectionExists("kw1"));
}

TEST_F(EditorOptionsGui, ASettingsFileThatCannotBeWrittenIsReportedAndTheLiveRulesKeepTheChange)
{
    // A settings "file" that is a folder cannot be read, so it is never replaced.
    std::filesystem::create_directory(SettingsPath());
    std::string message;
    try {
        TIniFile ini = Settings();
        ini.UpdateFile();
    } catch (const Exception& e) {
        message = e.Message();
    }
    ASSERT_NE(message.find(SettingsPath()), std::string::npos) << message;
    Dialogs.ExpectMessage(message, TModalResult::mrOk); // the print settings written back at creation
    TFEditorOptions& o = Options();
    Dialogs.ExpectInput("Moves");
    o.BitBtn2->click();
    o.Memokw->setPlainText("MS");
    Dialogs.ExpectMessage(message, TModalResult::mrOk);
    o.BitBtn3->click();
    EXPECT_EQ(KeywordGroupRuleOf(Root(), 0).Keywords, QStringList{"MS"});
    EXPECT_TRUE(std::filesystem::is_directory(SettingsPath()));
}

TEST_F(EditorOptionsGui, DeletingARangeWritesNothingUntilTheNextSave)
{
    WriteSettings("[SyntaxHighlight]\nnkw=1\nnrg=2\n[kw1]\nName=Flow\nkwList=IF~\n"
                  "[rg1]\nsrange='\nerange=\nName=Comment\n[rg2]\nsrange=&\nerange= =\nName=Variable\n");
    ReadRules();
    TFEditorOptions& o = Options();
    const std::string before = ReadSettings();
    EXPECT_EQ(o.cborg->currentText(), "Comment");
    o.cborg->setCurrentIndex(1);
    o.cborgChange();
    EXPECT_EQ(o.editrgstart->text(), "&");
    EXPECT_EQ(o.editrgend->text(), "=") << "a blank is an end character of every range";

    Dialogs.ExpectMessage("Delete Range: Variable?", TModalResult::mrYes);
    o.BitBtn7->click();
    EXPECT_EQ(Root().GetRangeCount(), 1);
    EXPECT_EQ(ReadSettings(), before);

    o.BitBtn3->click(); // saves "Flow" as it is
    EXPECT_EQ(Settings().ReadInteger(SyntaxHighlightSection, "nrg", -1), 1);
    EXPECT_FALSE(Settings().SectionExists("rg2"));
}

TEST_F(EditorOptionsGui, ASavedRangeTakesTheFieldsAndMovesToTheEnd)
{
    TFEditorOptions& o = Options();
    for (const char* name : {"Comment", "Variable"}) {
        Dialogs.ExpectInput(name);
        o.BitBtn5->click();
    }
    o.cborg->setCurrentIndex(0);
    o.cborgChange();
    EXPECT_EQ(o.editrgend->text().size(), 31) << "a new range ends at every punctuation character";
    o.editrgstart->setText("'");
    o.editrgend->setText("");
    o.rgi->setChecked(true);
    o.BitBtn6->click();
    ASSERT_EQ(Root().GetRangeCount(), 2);
    const TCodeRange& comment = *Root().GetRange(1);
    EXPECT_EQ(comment.Name, "Comment");
    EXPECT_FALSE(comment.CloseOnTerm) << "an empty Range End";
    EXPECT_EQ(comment.DefaultAttri().Style(), TFont::fsItalic);
    EXPECT_EQ(comment.NumberAttri().Style(), 0);
    EXPECT_EQ(Settings().ReadString("rg2", "Name", ""), "Comment");
}

// --- Code Insert ----------------------------------------------------------------------

TEST_F(EditorOptionsGui, AValueIsShownAsLinesInsertedWithBreaksAndSavedFromTheMemo)
{
    const std::string items = "[Code Insert]\nItemCount=2\nItem1=Move\nValue1=M2,1,1\nItem2=Stop\nValue2=PAUSE~END~\n";
    WriteItems(items);
    TFEditorOptions& o = Options();
    EXPECT_EQ(ReadText("KerfpadCI.ini"), items) << "read and written back as it was";
    EXPECT_EQ(Dm.CodeAutoComplete->ItemList(), (QStringList{"Move", "Stop"}));
    EXPECT_EQ(Dm.CodeAutoComplete->InsertList(), (QStringList{"M2,1,1", "PAUSE\r\nEND\r\n"}));
    EXPECT_EQ(o.MemoValues->toPlainText(), "M2,1,1") << "the first item shows";

    o.ListBoxItems->setCurrentRow(1);
    EXPECT_EQ(o.MemoValues->toPlainText(), "PAUSE\nEND");
    EXPECT_EQ(o.MemoValues->document()->blockCount(), 2);
    o.BitBtn9->click();
    EXPECT_EQ(TIniFile(CodeInsertFileName().toStdString()).ReadString(CodeInsertSection, "Value2", ""), "PAUSE~END");

    o.MemoValues->setPlainText("PAUSE\n\tEND");
    o.BitBtn9->click();
    EXPECT_EQ(Dm.CodeAutoComplete->InsertList()[1], "PAUSE\r\n\tEND");
}

TEST_F(EditorOptionsGui, NewAndDeleteOfItemsAndTheDefaultTextsIndex)
{
    WriteItems("[Code Insert]\nItemCount=3\nItem1=A\nValue1=a\nItem2=B\nValue2=b\nItem3=C\nValue3=c\n");
    WriteSettings("[Editor]\nDefNewFile=2\n");
    TFEditorOptions& o = Options();
    EXPECT_EQ(o.cbodefnewfile->currentText(), "C");

    Dialogs.ExpectInput(" D ");
    o.BitBtn8->click();
    EXPECT_EQ(o.ListBoxItems->currentItem()->text(), "D");
    EXPECT_EQ(TIniFile(CodeInsertFileName().toStdString()).ReadInteger(CodeInsertSection, "ItemCount", 0), 4);
    Dialogs.ExpectInput("");
    Dialogs.ExpectMessage("Invalid name", TModalResult::mrOk);
    o.BitBtn8->click();

    o.ListBoxItems->setCurrentRow(0);
    Dialogs.ExpectMessage("Are you sure you want to delete this item?", TModalResult::mrNo);
    o.BitBtn10->click();
    EXPECT_EQ(o.CodeInsertItems.Count(), 4);
    Dialogs.ExpectMessage("Are you sure you want to delete this item?", TModalResult::mrYes);
    o.BitBtn10->click();
    EXPECT_EQ(o.CodeInsertItems.Names(), (QStringList{"B", "C", "D"}));
    // The index stays: the default text is now the item after the one it named.
    o.PageControl1->setCurrentWidget(o.TabSheet3);
    EXPECT_EQ(o.EditorSettings().DefNewFile, 2);
    EXPECT_EQ(o.cbodefnewfile->currentText(), "D");
}

TEST_F(EditorOptionsGui, APageChangeReadsTheFileAgainAndABadFileIsLeftAlone)
{
    WriteItems("[Code Insert]\nItemCount=1\nItem1=A\nValue1=a\n");
    TFEditorOptions& o = Options();
    WriteItems("[Code Insert]\nItemCount=2\nItem1=A\nValue1=a\nItem2=B\nValue2=b\n");
    o.PageControl1->setCurrentWidget(o.TabSheet3);
    EXPECT_EQ(o.ListBoxItems->count(), 2);

    const std::string bad = "[Code Insert]\nItemCount=2\nItem1=X\n";
    WriteItems(bad);
    Dialogs.ExpectMessage("The file \"" + CodeInsertFileName().toStdString() +
                              "\" is not used: section [Code Insert], key Value1 is missing.",
                          TModalResult::mrOk);
    o.PageControl1->setCurrentWidget(o.TabSheet4);
    EXPECT_EQ(o.ListBoxItems->count(), 2) << "the items stay";
    EXPECT_EQ(Dm.CodeAutoComplete->ItemList(), (QStringList{"A", "B"}));
    EXPECT_EQ(ReadText("KerfpadCI.ini"), bad);
}

// --- Printing ---------------------------------------------------------------------------

TEST_F(EditorOptionsGui, PageNumberFromTheMacroMenuGoesToTheCaret)
{
    TFEditorOptions& o = Options();
    o.PageControl1->setCurrentWidget(o.TabSheet4);
    o.move(100, 80);
    o.show();
    o.psFooterRight->setText("Page ");
    o.psFooterRight->setCursorPosition(5);
    o.psFooterRight->Button()->Click();
    EXPECT_EQ(o.MacroTarget, o.psFooterRight);
    EXPECT_TRUE(o.PopupMenu1->isVisible());
    const QPoint corner = o.frameGeometry().topLeft();
    EXPECT_EQ(o.MacroMenuPoint(*o.psFooterRight),
              corner + o.GroupBoxFooter->pos() + o.psFooterRight->pos() +
                  QPoint(o.psFooterRight->width() - 11, o.psFooterRight->height() + 44));
    o.PopupMenu1->findChild<QAction*>("PageNumber1")->trigger();
    o.PopupMenu1->close();
    EXPECT_EQ(o.psFooterRight->text(), "Page $PAGENUM$");

    o.psHeaderLeft->setText("Listing of ");
    o.psHeaderLeft->setSelection(0, 7);
    o.ShowMacroMenu(*o.psHeaderLeft);
    o.PopupMenu1->findChild<QAction*>("itle1")->trigger();
    o.PopupMenu1->close();
    EXPECT_EQ(o.psHeaderLeft->text(), "$TITLE$ of ") << "in place of the selection";
}

// The macro menu as the user works it: the caret placed with the mouse and keys, the
// field's button clicked, an item chosen with the mouse or with the arrow keys and Enter.
// The focus comes back to the field from the menu before the item acts; only a selection
// the user made, or entering by Tab, is replaced.
TEST_F(EditorOptionsGui, AMacroChosenFromTheMenuGoesInAtTheCaret)
{
    TFEditorOptions& o = Options();
    o.PageControl1->setCurrentWidget(o.TabSheet4);
    o.show();
    o.activateWindow();
    QApplication::setActiveWindow(&o);
    using F = TFEditorOptions;
    const QKeyCombination home(Qt::Key_Home), end(Qt::Key_End), left(Qt::Key_Left), right(Qt::Key_Right),
        shiftLeft(Qt::SHIFT | Qt::Key_Left), shiftRight(Qt::SHIFT | Qt::Key_Right), x(Qt::Key_X), tab(Qt::Key_Tab);
    const struct {
        TBtnEdit* F::*Field;
        const char* Text;
        bool ClickIn; // else the focus stays where the case before left it
        std::vector<QKeyCombination> Keys;
        const char* Item;
        bool ByKeys;
        const char* Expected;
    } cases[] = {
        {&F::psFooterRight, "Kerfpad", true, {end, x}, "PageNumber1", false, "Kerfpadx$PAGENUM$"},
        {&F::psFooterRight, "Kerfpad", true, {end, x}, "PageNumber1", true, "Kerfpadx$PAGENUM$"},
        {&F::psHeaderCenter, "Listing", true, {home, right, right, right, right}, "Date1", true, "List$DATE$ing"},
        {&F::psHeaderLeft, "Listing", true, {home, right}, "ime1", false, "L$TIME$isting"},
        {&F::psFooterCenter, "Page 1 of 9", true, {home, right, right, right, right, right, shiftRight}, "PageNumber1",
         false, "Page $PAGENUM$ of 9"},
        {&F::psHeaderRight, "of 9", true, {end, left, left, shiftLeft, shiftLeft}, "PageCount1", true,
         "$PAGECOUNT$ 9"},
        // The button of a field without the focus enters it with the caret where it was.
        {&F::psFooterLeft, "Title", false, {}, "itle1", false, "Title$TITLE$"},
        // Tab from there selects the next field's text, which the macro takes the place of.
        {&F::psFooterCenter, "old", false, {tab}, "itle1", true, "$TITLE$"},
    };
    for (const auto& c : cases) {
        TBtnEdit& field = *(o.*c.Field);
        const std::string label = field.objectName().toStdString() + " " + c.Expected;
        field.setText(QString::fromUtf8(c.Text));
        if (c.ClickIn) {
            QTest::mouseClick(&field, Qt::LeftButton, {}, QPoint(5, field.height() / 2));
        }
        for (const QKeyCombination key : c.Keys) {
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        }
        QTest::mouseClick(field.Button()->SpeedButton(), Qt::LeftButton);
        ASSERT_TRUE(o.PopupMenu1->isVisible()) << label;
        EXPECT_EQ(o.MacroTarget, &field);
        QAction* item = o.PopupMenu1->findChild<QAction*>(QLatin1String(c.Item));
        if (c.ByKeys) {
            // The menu opens with no item active; Down walks the items, past separators.
            do {
                QTest::keyClick(o.PopupMenu1, Qt::Key_Down);
            } while (o.PopupMenu1->activeAction() != item && o.PopupMenu1->activeAction() != o.PopupMenu1->actions().last());
            QTest::keyClick(o.PopupMenu1, Qt::Key_Return);
        } else {
            QTest::mouseClick(o.PopupMenu1, Qt::LeftButton, {}, o.PopupMenu1->actionGeometry(item).center());
        }
        EXPECT_FALSE(o.PopupMenu1->isVisible()) << label;
        EXPECT_EQ(QApplication::focusWidget(), &field) << label;
        EXPECT_EQ(field.text().toStdString(), c.Expected) << label;
    }

    // Saved, the texts are the print engine's and the settings file's.
    o.Button3->click();
    EXPECT_EQ(Settings().ReadString(PrintSettingsSection, "FooterRight", ""), "Kerfpadx$PAGENUM$");
    ASSERT_EQ(Dm.CodeEditPrint->Footer().Count(), 3);
    EXPECT_EQ(Dm.CodeEditPrint->Footer().Item(2).Text, "Kerfpadx$PAGENUM$");
    EXPECT_EQ(Dm.CodeEditPrint->Footer().Item(0).Text, "Title$TITLE$");
}

TEST_F(EditorOptionsGui, MarginsAreWholeNumbersCheckedBeforeAnythingIsStored)
{
    WriteSettings("[PrintSettings]\nMarginLeft=12.6\nMarginTop=12.5\nMarginGutter=250\n");
    TFEditorOptions& o = Options();
    EXPECT_EQ(o.psMarginLeft->value(), 13);
    EXPECT_EQ(o.psMarginTop->value(), 12);
    EXPECT_EQ(o.psMarginGutter->value(), 100);
    const TIniFile ini = Settings();
    EXPECT_EQ(ini.ReadString(PrintSettingsSection, "MarginLeft", ""), "13") << "written back at creation";
    EXPECT_DOUBLE_EQ(Dm.CodeEditPrint->Margins().Left(), 13.0);

    const std::string before = ReadSettings();
    o.psMarginRight->setValue(30);
    SetText(*o.psMarginBottom, "");
    Dialogs.ExpectMessage("Invaled margin value.", TModalResult::mrOk);
    o.Button3->click();
    EXPECT_EQ(ReadSettings(), before);
    EXPECT_DOUBLE_EQ(Dm.CodeEditPrint->Margins().Right(), 20.0);
    EXPECT_DOUBLE_EQ(o.PrintSettings().MarginRight, 20.0);
}

TEST_F(EditorOptionsGui, TheHeaderSwitchAddsOrRemovesAllThreeItems)
{
    TFEditorOptions& o = Options();
    o.psPrintHeader->setChecked(false);
    o.psHeaderCenter->setText("");
    o.Button3->click();
    EXPECT_EQ(Dm.CodeEditPrint->Header().Count(), 0);
    EXPECT_EQ(Settings().ReadString(PrintSettingsSection, "PrintHeader", ""), "0");
    o.psPrintHeader->setChecked(true);
    o.Button3->click();
    ASSERT_EQ(Dm.CodeEditPrint->Header().Count(), 3);
    EXPECT_EQ(Dm.CodeEditPrint->Header().Item(1).Text, "");
}

} // namespace
