#include "platform/gui/ActionList.h"
#include "platform/gui/QtModalForm.h"

#include "platform/core/Exceptions.h"

#include "../support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

class ActionListGui : public ::testing::Test {
protected:
    TScriptedDialogs Dialogs;
    TDialogResponderScope Scope{&Dialogs};
    TActionList List;
    bool Allowed = false;
    int Runs = 0;
};

TEST_F(ActionListGui, ATriggerUpdatesFirstAndRunsOnlyWhenEnabled)
{
    TAction* action = List.Add("actGo", "&Go", "Go on", QKeySequence(Qt::Key_F9), 3);
    action->OnUpdate = [this](TAction& self) { self.setEnabled(Allowed); };
    action->OnExecute = [this](TAction&) { ++Runs; };
    // Enabled from an earlier update, but not any more.
    action->trigger();
    EXPECT_EQ(Runs, 0);
    EXPECT_FALSE(action->isEnabled());
    Allowed = true;
    EXPECT_TRUE(action->Execute());
    EXPECT_EQ(Runs, 1);
    EXPECT_EQ(action->toolTip(), "Go on");
    EXPECT_EQ(List.Find("actGo"), action);
    EXPECT_EQ(List.Find("actStop"), nullptr);
    // Pictures come from the list's image source, also for actions made before it.
    List.SetImages([](int index) {
        QPixmap picture(16, 16);
        picture.fill(index == 3 ? Qt::red : Qt::blue);
        return QIcon(picture);
    });
    EXPECT_EQ(action->icon().pixmap(16, 16).toImage().pixelColor(0, 0), QColor(Qt::red));
}

TEST_F(ActionListGui, HandlerFailuresAreReportedNotThrown)
{
    TAction* failing = List.Add("actFail", "Fail");
    failing->OnExecute = [](TAction&) { throw Exception("the disk is gone"); };
    Dialogs.ExpectMessage("the disk is gone", TModalResult::mrOk);
    EXPECT_TRUE(failing->Execute());

    // A failing update: one box, the action disabled, however often it runs.
    TAction* broken = List.Add("actBroken", "Broken");
    broken->OnUpdate = [this](TAction&) {
        if (!Allowed) {
            throw Exception("no state");
        }
    };
    Dialogs.ExpectMessage("no state", TModalResult::mrOk);
    List.UpdateAll();
    List.UpdateAll();
    EXPECT_FALSE(broken->isEnabled());
    Allowed = true;
    List.UpdateAll();
    Allowed = false;
    Dialogs.ExpectMessage("no state", TModalResult::mrOk);
    List.UpdateAll();
    EXPECT_TRUE(Dialogs.AllAnswered());
}

// A dialog whose OK keeps the edit's text, as a close handler of the shell would.
class TNoteDialog : public QDialog {
public:
    TNoteDialog()
    {
        auto* layout = new QVBoxLayout(this);
        for (const char* name : {"cbCase", "edNote"}) {
            QWidget* control = name[0] == 'c' ? static_cast<QWidget*>(new QCheckBox(this)) : new QLineEdit(this);
            control->setObjectName(QLatin1String(name));
            layout->addWidget(control);
        }
        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("cbChoice"));
        combo->addItems({"one", "two"});
        layout->addWidget(combo);
        auto* group = new QGroupBox(this);
        group->setObjectName(QStringLiteral("rgWay"));
        auto* rows = new QVBoxLayout(group);
        for (const char* caption : {"Up", "Down"}) {
            rows->addWidget(new QRadioButton(QLatin1String(caption), group));
        }
        layout->addWidget(group);
    }
    void accept() override
    {
        Kept = findChild<QLineEdit*>(QStringLiteral("edNote"))->text();
        QDialog::accept();
    }
    QString Kept;
};

TEST_F(ActionListGui, ModalWindowsAreAnsweredByNameWithTheirFieldsSet)
{
    TNoteDialog dialog;
    Dialogs.ExpectForm("Note", {{"cbCase", "1"}, {"edNote", "hello"}, {"cbChoice", "1"}, {"rgWay", "1"}},
                       TModalResult::mrOk);
    EXPECT_EQ(ShowModalDialog(dialog, "Note"), TModalResult::mrOk);
    EXPECT_EQ(dialog.Kept, "hello");
    EXPECT_TRUE(dialog.findChild<QCheckBox*>("cbCase")->isChecked());
    EXPECT_EQ(dialog.findChild<QComboBox*>("cbChoice")->currentIndex(), 1);
    EXPECT_TRUE(dialog.findChildren<QRadioButton*>().at(1)->isChecked());

    // Values a control cannot take, and controls that are not there.
    TQtModalForm form(dialog, "Note");
    EXPECT_FALSE(form.SetField("cbCase", "yes"));
    EXPECT_FALSE(form.SetField("cbChoice", "2"));
    EXPECT_FALSE(form.SetField("rgWay", "-1"));
    EXPECT_FALSE(form.SetField("nothing", "1"));
    // Results beyond OK and Cancel travel through the dialog's code.
    for (TModalResult result : {TModalResult::mrYes, TModalResult::mrNo, TModalResult::mrAll, TModalResult::mrCancel}) {
        EXPECT_EQ(form.CloseModal(result), result);
    }
    EXPECT_EQ(ModalResultOf(12345), TModalResult::mrCancel);
}

} // namespace
