// The file lists' icons are drawn at the style's small size whatever size a view asks:
// the style's own icons scale a 32-pixel pixmap down to a list view's 24 pixels, which
// made every row of a file list 26 pixels high.

#include "platform/gui/EntryKindIconProvider.h"

#include "../support/TempFolderTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QStyle>

#include <utility>

namespace {

using EntryKindIconProviderGui = testsupport::TTempFolderTest;

TEST_F(EntryKindIconProviderGui, EveryIconDrawsAtMostTheSmallIconSize)
{
    WriteText("part.sbp", "M2,1,1\r\n");
    const int small = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
    auto& provider = static_cast<QFileIconProvider&>(*EntryKindIconProvider());
    const std::pair<const char*, QIcon> icons[] = {
        {"file", provider.icon(QFileInfo(QString::fromStdString(Path("part.sbp"))))},
        {"folder", provider.icon(QFileInfo(QString::fromStdString(folder.string())))},
        {"computer", provider.icon(QFileIconProvider::Computer)},
        {"drive", provider.icon(QFileIconProvider::Drive)},
        {"file kind", provider.icon(QFileIconProvider::File)},
    };
    for (const auto& [name, icon] : icons) {
        ASSERT_FALSE(icon.isNull()) << name;
        for (const int asked : {small / 2, small, 24, 32, 128}) {
            const int drawn = std::min(asked, small);
            EXPECT_EQ(icon.actualSize(QSize(asked, asked)), QSize(drawn, drawn)) << name << " asked " << asked;
            EXPECT_EQ(icon.pixmap(QSize(asked, asked)).size(), QSize(drawn, drawn)) << name << " asked " << asked;
        }
    }
    // A file and a folder still look different.
    EXPECT_NE(icons[0].second.pixmap(small).toImage(), icons[1].second.pixmap(small).toImage());
}

} // namespace
