#include "platform/gui/QtDialogResponder.h"

#include "platform/core/RegularFile.h"

#include "../support/FifoWatchdog.h"
#include "../support/QtTestApp.h"
#include "../support/TempFolderTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
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

// The dialogs tell the folder's entries apart without reading them: Qt's own provider
// read each ".sbp" to guess its type, and on a link to the kernel's log that read waited.
TEST_F(QtFileDialogGui, TheDialogsListAFolderWithoutReadingItsFiles)
{
    std::filesystem::create_symlink("/proc/kmsg", folder / "kmsg.sbp");
    if (!OpenRegularFile(Path("kmsg.sbp"), TFileAccess::Read).IsOpen()) {
        GTEST_SKIP() << "only root may open the kernel's log";
    }
    WriteText("a.sbp", "M2,1,1\r\n");
    const testsupport::THangGuard guard("a file dialog on a folder with a link to /proc/kmsg");
    TQtDialogResponder responder;
    QStringList types;
    const auto look = [&](QFileDialog& dialog) {
        auto* files = dialog.findChild<QFileSystemModel*>();
        ASSERT_NE(files, nullptr);
        testsupport::WaitFor([&] { return files->rowCount(files->index(dialog.directory().absolutePath())) == 2; });
        for (const char* name : {"a.sbp", "kmsg.sbp"}) {
            const QModelIndex entry = files->index(QString::fromStdString(Path(name)));
            EXPECT_FALSE(files->fileIcon(entry).isNull()) << name;
            types << files->type(entry);
        }
        // Shown, so the list paints its icons too.
        QApplication::processEvents();
        dialog.reject();
    };
    WhenShown<QFileDialog>(look);
    std::string chosen;
    EXPECT_FALSE(responder.SaveDialog({"", folder.string(), "", "Shopbot Files (*.sbp)|*.sbp", "sbp"}, chosen));
    WhenShown<QFileDialog>(look);
    std::vector<std::string> files;
    EXPECT_FALSE(responder.OpenDialog({"", folder.string(), "", "Shopbot Files (*.sbp)|*.sbp", ""}, true, files));
    EXPECT_EQ(types, (QStringList{"File", "File", "File", "File"}));
}

} // namespace
