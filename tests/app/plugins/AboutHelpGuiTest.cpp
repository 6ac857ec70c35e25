// The about box (its texts, links and the boxes of failed ones, the OK button dragged
// while D is held) and the help window (the shipped help, a missing file).

#include "app/plugins/AboutBox.h"
#include "app/plugins/HelpForm.h"
#include "app/shell/LinkLabel.h"
#include "app/plugins/MakerLinks.h"

#include "../AppTestSupport.h"

#include "platform/gui/ShellOpen.h"

#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include <filesystem>

namespace {

class AboutHelpGui : public TAppTest {
protected:
    AboutHelpGui()
    {
        FPreviousHook = SetShellOpenHook([this](const QString& target) {
            Opened << target;
            return ShellAnswer;
        });
    }
    ~AboutHelpGui() override { SetShellOpenHook(FPreviousHook); }

    QStringList Opened;
    bool ShellAnswer = true;

private:
    std::function<bool(const QString&)> FPreviousHook;
};

TEST_F(AboutHelpGui, TheAboutBoxLinksOpenTheirPagesAndMails)
{
    TFAboutBox box;
    QTest::mouseClick(box.LabelWebsite, Qt::LeftButton);
    QTest::mouseClick(box.Image1, Qt::LeftButton);
    box.LabelIdeasClick();
    box.Image3Click();
    box.LabelFriendClick();
    EXPECT_EQ(Opened, (QStringList{MakerWebAddress, MakerWebAddress, "mailto:" + SupportMailAddress,
                                   MachineMakerAddress, TellAFriendMailUrl()}));
    EXPECT_EQ(TellAFriendMailUrl(),
              "mailto:?subject=New%20Shopbot%20code%20editor%20with%203D%20preview%20-%20Kerfpad%21&body=I%20found"
              "%20a%20new%20editor%20built%20from%20the%20ground%20up%20specifically%20for%20the%20shopbot.%20%20It"
              "%20has%20tons%20of%20features%20like%20syntax%20highlighting%2C%20multiple%20document%20editing%2C"
              "%20built%20in%203D%20previewer%20and%20much%2C%20much%20more.%20%20%0D%0A%0D%0ACheck%20it%20out%3A"
              "%20https%3A%2F%2Fwww.kerfpad.org.");
}

TEST_F(AboutHelpGui, FailedLinksGiveTheirBoxes)
{
    ShellAnswer = false;
    TFAboutBox box;
    Dialogs.ExpectMessage("Could not open web browser to " + MakerWebAddress.toStdString(), TModalResult::mrOk);
    box.LabelWebsiteClick();
    Dialogs.ExpectMessage("Error opening default mail client.", TModalResult::mrOk);
    box.LabelIdeasClick();
    Dialogs.ExpectMessage("Error opening default mail client.", TModalResult::mrOk);
    box.LabelFriendClick();
    Dialogs.ExpectMessage("Could not open web browser to " + MachineMakerAddress.toStdString(), TModalResult::mrOk);
    box.Image3Click();
}

TEST_F(AboutHelpGui, TheOKButtonFollowsTheMouseOnlyWhileDIsHeld)
{
    TFAboutBox box;
    box.show();
    QPushButton* ok = box.ButtonOk;
    const QPoint start = ok->pos();
    const auto drag = [&](QPoint by) {
        QTest::mousePress(ok, Qt::LeftButton, {}, QPoint(10, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(10 + by.x(), 10 + by.y()), ok->mapToGlobal(QPointF(10, 10) + by),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ok, &move);
        // Released outside the button: no click, the box stays.
        QTest::mouseRelease(ok, Qt::LeftButton, {}, QPoint(-50, -50));
    };
    drag({15, -20});
    EXPECT_EQ(ok->pos(), start) << "D is up";
    QTest::keyPress(&box, Qt::Key_D);
    EXPECT_TRUE(box.DKeyDown());
    drag({15, -20});
    EXPECT_EQ(ok->pos(), start + QPoint(15, -20));
    QTest::keyRelease(&box, Qt::Key_D);
    EXPECT_FALSE(box.DKeyDown());
    drag({15, -20});
    EXPECT_EQ(ok->pos(), start + QPoint(15, -20));
    EXPECT_TRUE(box.isVisible());
}

TEST_F(AboutHelpGui, TheHelpWindowShowsTheShippedHelp)
{
    std::filesystem::create_directories(folder / "help");
    std::filesystem::copy_file(std::filesystem::path(KERFPAD_DATA_DIR) / "help" / "Kerfpad Help.html",
                               folder / "help" / "Kerfpad Help.html");
    TfHelp help;
    EXPECT_TRUE(help.RichEdit1->isReadOnly());
    const QString text = help.RichEdit1->toPlainText();
    EXPECT_TRUE(text.contains("org.kerfpad.Kerfpad.Instance")) << "the bus is documented";
    EXPECT_TRUE(text.contains("org.kerfpad.IKerfpad.Error.Unexpected"));
}

TEST_F(AboutHelpGui, AMissingHelpFileIsReportedAndTheWindowStaysEmpty)
{
    Dialogs.ExpectMessage("Cannot open file \"" + Path("help/Kerfpad Help.html") + "\". No such file or directory",
                          TModalResult::mrOk);
    TfHelp help;
    EXPECT_EQ(help.RichEdit1->toPlainText(), "");
}

} // namespace
