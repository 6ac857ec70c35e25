// The main window as the editor pages' host: the status bar and caption, command
// hints, line parsing and the page control.
#include "app/shell/DataModule.h"
#include "app/pages/EditorInterfaces.h"
#include "app/shell/MainForm.h"
#include "app/pages/PageControl.h"

#include "engine/ParsedLine.h"
#include "scene/objects/shapes/Cone.h"

#include <QLabel>

void TMainForm::actUpdateStatusBarPanelsUpdate()
{
    const std::shared_ptr<IEditor> page = LiveActiveEditor();
    if (!page) {
        // This runs whenever the loop goes idle: clearing a label lays the status bar
        // and the window out again, which woke the loop and ran this again at once.
        for (QLabel* panel : FPanels) {
            if (!panel->text().isEmpty()) {
                panel->clear();
            }
        }
        setWindowTitle(QStringLiteral("Kerfpad"));
        return;
    }
    const QPoint caret = page->GetCaretPos();
    FPanels[0]->setText(caret.x() > 0 && caret.y() > 0 ? QString::asprintf(" %6d:%3d ", caret.y(), caret.x())
                                                       : QString());
    const bool modified = page->GetModified();
    FPanels[1]->setText(modified ? QStringLiteral("Modified") : QString());
    FPanels[2]->setText(page->GetEditorState());
    QString name = page->GetFileName();
    if (name.isEmpty()) {
        name = page->GetFileTitle();
    }
    setWindowTitle(QStringLiteral("Kerfpad - [") + name + (modified ? QStringLiteral("*") : QString()) +
                   QStringLiteral("]"));
}

void TMainForm::UpdateStatusBar()
{
    actUpdateStatusBarPanels->Execute();
}

void TMainForm::SetHintPanel(const QString& text)
{
    FPanels[4]->setText(text);
}

QString TMainForm::CommandHint(const QString& word)
{
    return CommandHints.Hint(word);
}

void TMainForm::ParseLine(const QString& lineText, TArrayofCmds& cmds)
{
    Move->PreprocessLine(lineText.toStdString(), false, cmds);
}

void TMainForm::ShowLinePosition(const QString& lineText)
{
    PlaceMarker(lineText, Scene->WireframeBit->Position().GetAsAffineVector());
    ShowVariables(Calcul.GetVariables());
}

QTabWidget* TMainForm::PageControl()
{
    return pctrlMain;
}
