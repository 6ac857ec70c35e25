// The clipboard service over QClipboard: what a writer publishes, and that a reader
// leaves the clipboard to the program that owns it.
#include "platform/gui/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kBlock = "application/x-kerfpad-codeedit-block";

class QtClipboardGui : public ::testing::Test {
protected:
    // What another program put on the clipboard: its text and a format of its own.
    void OtherProgramCopies()
    {
        auto* data = new QMimeData;
        data->setText(QStringLiteral("from elsewhere"));
        data->setData(QStringLiteral("application/x-other"), QByteArray("rich"));
        QGuiApplication::clipboard()->setMimeData(data);
    }
    std::string Read(std::string_view format)
    {
        std::string bytes;
        TClipboardOpener open(clipboard);
        return open.IsOpen() && clipboard.GetData(format, bytes) ? bytes : std::string("<none>");
    }

    TQtClipboard clipboard;
};

TEST_F(QtClipboardGui, AReaderLeavesTheClipboardWithItsOwner)
{
    OtherProgramCopies();
    const QMimeData* owned = QGuiApplication::clipboard()->mimeData();
    int changes = 0;
    const auto watch =
        QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, [&changes] { ++changes; });
    EXPECT_TRUE(clipboard.HasFormat(ClipboardTextFormat));
    EXPECT_FALSE(clipboard.HasFormat(kBlock));
    EXPECT_EQ(Read(ClipboardTextFormat), "from elsewhere");
    EXPECT_EQ(Read(kBlock), "<none>");
    QObject::disconnect(watch);
    EXPECT_EQ(changes, 0) << "nothing republished";
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData(), owned);
}

TEST_F(QtClipboardGui, AWriterPublishesItsFormatsTogetherAndJoinsWhatItDidNotClear)
{
    const std::string block = std::string("\x02") + "bc\r\nhi" + '\0';
    for (bool clear : {true, false}) {
        OtherProgramCopies();
        {
            TClipboardOpener open(clipboard);
            ASSERT_TRUE(open.IsOpen());
            EXPECT_FALSE(clipboard.Open()) << "one opener at a time";
            if (clear) {
                EXPECT_TRUE(clipboard.Clear());
            }
            EXPECT_TRUE(clipboard.SetData(ClipboardTextFormat, "bc\r\nhi"));
            EXPECT_TRUE(clipboard.SetData(kBlock, block));
        }
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("bc\r\nhi")) << clear;
        EXPECT_EQ(Read(kBlock), block) << "the mode byte and the closing NUL travel as they are";
        EXPECT_EQ(clipboard.HasFormat("application/x-other"), !clear);
    }
    EXPECT_FALSE(clipboard.SetData(ClipboardTextFormat, "x")) << "closed";
}

} // namespace
