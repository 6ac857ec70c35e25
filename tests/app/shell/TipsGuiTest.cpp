#include "app/shell/TipIcons.h"
#include "app/shell/TipWindow.h"
#include "app/shell/Tips.h"

#include "platform/core/files/Registry.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <utility>

namespace {

TEST(Tips, CurrentTipWrapsAndFollowsTheList)
{
    TTips tips;
    EXPECT_EQ(tips.CurrentTipText(), "");
    tips.SetTips({"a", "b", "c"});
    tips.SetCurrentTip(99);
    EXPECT_EQ(tips.CurrentTip(), 0);
    tips.SetCurrentTip(2);
    int nextEvents = 0;
    tips.OnNextTip = [&] { ++nextEvents; };
    tips.NextTip();
    EXPECT_EQ(tips.CurrentTipText(), "a") << "Next on the last tip shows the first";
    EXPECT_EQ(nextEvents, 1);
    tips.SetCurrentTip(2);
    tips.SetTips({"x"});
    EXPECT_EQ(tips.CurrentTip(), 0);

    tips.SetTips({});
    EXPECT_EQ(tips.CurrentTip(), -1);
    tips.NextTip();
    tips.NextTip();
    EXPECT_EQ(tips.CurrentTip(), 0);
    EXPECT_EQ(tips.CurrentTipText(), "") << "nothing is read outside the list";

    tips.SetGlyph(QPixmap(4, 4));
    EXPECT_EQ(tips.GlyphStyle(), TGlyphStyle::gsCustom);
    EXPECT_EQ(tips.Icon().size(), QSize(4, 4));
}

TEST(Tips, RegistryValuesAreAppendedInOrder)
{
    TMemoryRegistryStore store;
    TRegistryStoreScope scope(&store);
    TRegistry reg(store);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Kerfpad\\Tips", true));
    reg.WriteString("b", "second");
    reg.WriteInteger("a", 3);
    TTips tips;
    tips.SetTips({"first"});
    tips.Loaded();
    EXPECT_EQ(tips.Tips(), QStringList{"first"}) << "registry not asked for";
    tips.UseRegistry = true;
    tips.RegParentKey = "Software\\Kerfpad";
    tips.RegSubKey = "Tips";
    tips.Loaded();
    EXPECT_EQ(tips.Tips(), (QStringList{"first", "second", "3"}));
}

TEST(TipIcons, EachStyleHasItsOwnPicture)
{
    const TGlyphStyle styles[] = {TGlyphStyle::gsLightBulb, TGlyphStyle::gsClown, TGlyphStyle::gsHelp,
                                  TGlyphStyle::gsArrow, TGlyphStyle::gsTorch};
    std::vector<QImage> images;
    for (auto style : styles) {
        const QImage image = TipIconImage(style);
        ASSERT_EQ(image.size(), QSize(TipIconSize, TipIconSize));
        EXPECT_GT(qAlpha(image.pixel(16, 16)) + qAlpha(image.pixel(16, 24)), 0) << "drawn in the middle";
        for (const auto& other : images)
            EXPECT_NE(image, other);
        images.push_back(image);
    }
    EXPECT_TRUE(TipIconImage(TGlyphStyle::gsCustom).isNull());
}

TEST(TipPanelGui, FramedWhitePanelWithIconAndHeading)
{
    QImage panel(305, 169, QImage::Format_RGB32);
    panel.fill(Qt::red);
    {
        QPainter painter(&panel);
        PaintTipPanel(painter, panel.size(), TipIcon(TGlyphStyle::gsHelp), QApplication::font());
    }
    const auto dark = [&](int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += qGray(panel.pixel(x, y)) < 128;
        return n;
    };
    for (QPoint p : {QPoint(0, 0), QPoint(304, 0), QPoint(0, 168), QPoint(304, 168), QPoint(150, 0), QPoint(0, 80)})
        EXPECT_EQ(panel.pixel(p), qRgb(0, 0, 0)) << p.x() << "," << p.y();
    EXPECT_EQ(panel.pixel(150, 120), qRgb(255, 255, 255));
    EXPECT_EQ(panel.pixel(13, 24), TipIconImage(TGlyphStyle::gsHelp).pixel(5, 16)) << "icon at (8, 8)";
    EXPECT_GT(dark(48, 16, 200, 40), 20) << "heading";
    EXPECT_EQ(dark(48, 2, 200, 15), 0) << "heading starts at 16";
}

class TipWindowGui : public ::testing::Test {
protected:
    TTips Tips;
    TipWindowGui() { Tips.SetTips({"first & only", "second", "third"}); }
};

TEST_F(TipWindowGui, ShowsAFixedAlwaysOnTopWindowOnce)
{
    Tips.SetCurrentTip(0);
    Tips.ShowTips();
    TTipWindow* window = Tips.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName(), "TDailyTip");
    EXPECT_EQ(window->windowTitle(), "Tip of the Day");
    EXPECT_EQ(window->size(), QSize(337, 231));
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinMaxButtonsHint);
    // A window manager closes (Alt+F4) only a window that offers to close.
    EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->CheckBox->pos(), QPoint(8, 203));
    EXPECT_GE(window->CheckBox->width(), 129);
    EXPECT_LE(window->CheckBox->geometry().right(), 160 - 8);
    EXPECT_LE(window->CheckBox->sizeHint().width(), window->CheckBox->width()) << "its text is not cut";
    EXPECT_EQ(window->TipLabel->text(), "first & only");
    EXPECT_EQ(window->CheckBox->text(), "&Show Tips on Startup");

    Tips.ShowTips();
    EXPECT_EQ(Tips.Window(), window) << "an open window is only brought to the front";
    EXPECT_EQ(QApplication::topLevelWidgets().count(window), 1);
}

TEST_F(TipWindowGui, ButtonsStepCheckAndClose)
{
    Tips.SetCurrentTip(2);
    Tips.ShowTips();
    TTipWindow* window = Tips.Window();
    window->NextButton->click();
    EXPECT_EQ(window->TipLabel->text(), "first & only");
    Tips.SetCurrentTip(-1);
    EXPECT_EQ(window->TipLabel->text(), "");
    window->CheckBox->click();
    EXPECT_FALSE(Tips.ShowOnStartup);

    QPointer<QWidget> watched(window);
    bool windowOpenAtClose = false;
    Tips.OnCloseDialog = [&] { windowOpenAtClose = Tips.Window() != nullptr; };
    window->CloseButton->click();
    EXPECT_TRUE(windowOpenAtClose);
    EXPECT_EQ(Tips.Window(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
}

// Escape and the window manager's close (Alt+F4) close the window as its Close button
// does: the owner hears of it once, and the window goes.
TEST_F(TipWindowGui, EscapeAndTheWindowManagersCloseAreTheCloseButton)
{
    const std::pair<const char*, std::function<void(TTipWindow&)>> ways[] = {
        {"Escape", [](TTipWindow& window) { QTest::keyClick(&window, Qt::Key_Escape); }},
        {"the window manager's close", [](TTipWindow& window) { window.close(); }},
    };
    for (const auto& [what, close] : ways) {
        SCOPED_TRACE(what);
        int closes = 0;
        Tips.OnCloseDialog = [&] { ++closes; };
        Tips.ShowTips();
        const QPointer<QWidget> watched(Tips.Window());
        close(*Tips.Window());
        EXPECT_EQ(closes, 1);
        EXPECT_EQ(Tips.Window(), nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(watched.isNull());
    }
}

TEST_F(TipWindowGui, GoesWithItsTips)
{
    QPointer<QWidget> watched;
    {
        TTips tips;
        tips.ShowTips();
        watched = tips.Window();
        ASSERT_FALSE(watched.isNull());
    }
    EXPECT_TRUE(watched.isNull());
}

} // namespace
