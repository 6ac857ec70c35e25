// The Help menu draws its two web items as blue links and every other item as usual.

#include "app/shell/MainForm.h"

#include "../ShellTestSupport.h"

#include <QMenu>

namespace {

class HelpMenuGui : public TShellTest {};

int BluePixels(const QImage& image, const QRect& row)
{
    int count = 0;
    for (int y = row.top(); y <= row.bottom(); ++y) {
        for (int x = row.left(); x <= row.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            count += (qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60) ? 1 : 0;
        }
    }
    return count;
}

TEST_F(HelpMenuGui, TheWebItemsAreBlueLinks)
{
    TMainForm window;
    QMenu& help = *window.mHelp;
    help.ensurePolished();
    help.adjustSize();
    const QImage image = help.grab().toImage();
    int links = 0;
    for (QAction* action : help.actions()) {
        if (action->isSeparator() || !action->isVisible()) {
            continue;
        }
        const QRect row = help.actionGeometry(action) & image.rect();
        const bool link = action->text().contains(QStringLiteral(" - "));
        links += link ? 1 : 0;
        if (link) {
            EXPECT_GT(BluePixels(image, row), 10) << action->text().toStdString();
        } else {
            EXPECT_EQ(BluePixels(image, row), 0) << action->text().toStdString();
        }
    }
    EXPECT_EQ(links, 2);
}

} // namespace
