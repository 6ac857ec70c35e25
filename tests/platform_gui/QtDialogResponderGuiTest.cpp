#include "platform/gui/QtDialogResponder.h"

#include "../support/TempFolderTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {

// Runs `act` on the modal dialog once it is up (the responder's exec() blocks until then).
template <class Dialog>
void WhenShown(std::function<void(Dialog&)> act)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(*dialog);
        }
    });
    timer->start(10);
}

TEST(QtNameFilters, TurnPlatformFiltersIntoQtOnes)
{
    EXPECT_EQ(QtNameFilters("ShopbotFiles (*.sbp)|*.sbp"), QStringList{"ShopbotFiles (*.sbp)"});
    EXPECT_EQ(QtNameFilters("Parts|*.sbp;*.SBP|All (*.*)|*.*"), (QStringList{"Parts (*.sbp *.SBP)", "All (*.*)"}));
    EXPECT_TRUE(QtNameFilters("").isEmpty());
}

TEST(QtDialogResponderGui, MessageBoxesOfferTheButtonsAskedForAndReportTheAnswer)
{
    TQtDialogResponder responder;
    QStringList shown;
    WhenShown<QMessageBox>([&](QMessageBox& box) {
        shown << box.windowTitle() << box.text();
        EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::Yes));
        box.button(QMessageBox::No)->click();
    });
    EXPECT_EQ(responder.MessageDlg("Cancel preview and Exit?", TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel),
              TModalResult::mrNo);
    EXPECT_EQ(shown, (QStringList{"Kerfpad", "Cancel preview and Exit?"}));

    WhenShown<QInputDialog>([](QInputDialog& box) {
        EXPECT_EQ(box.textValue(), "7");
        box.setTextValue("12");
        box.accept();
    });
    std::string value = "7";
    EXPECT_TRUE(responder.InputQuery("", "Value?", value));
    EXPECT_EQ(value, "12");
}

class QtFileDialogGui : public testsupport::TTempFolderTest {};

TEST_F(QtFileDialogGui, SaveDialogStartsInTheFolderWithTheProposedName)
{
    TQtDialogResponder responder;
    QString directory;
    WhenShown<QFileDialog>([&](QFileDialog& dialog) {
        directory = dialog.directory().absolutePath();
        EXPECT_EQ(dialog.selectedFiles().value(0), QString::fromStdString(Path("part.sbp")));
        EXPECT_EQ(dialog.nameFilters(), QStringList{"Shopbot Files (*.sbp)"});
        static_cast<QDialog&>(dialog).accept(); // QFileDialog hides it
    });
    std::string chosen;
    ASSERT_TRUE(responder.SaveDialog({"", folder.string(), "part.sbp", "Shopbot Files (*.sbp)|*.sbp", "sbp"}, chosen));
    EXPECT_EQ(chosen, Path("part.sbp"));
    EXPECT_EQ(directory.toStdString(), folder.string());

    WhenShown<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    std::vector<std::string> files;
    EXPECT_FALSE(responder.OpenDialog({"", folder.string(), "", "", ""}, true, files));
}

} // namespace
