#include "editor/document/CodeEditFileWriter.h"
#include "editor/document/CodeEditStringList.h"
#include "../QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray ReadFile(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST(CodeEditFileWriter, LineBreakStyles)
{
    struct Case {
        TLineBreakStyle style;
        QByteArray expected;
    } cases[] = {{lbCRLF, "a\r\nb"}, {lbLF, "a\nb"}, {lbCR, "a\rb"}};
    for (const Case& c : cases) {
        TCodeEditFiler filer;
        filer.SetLineBreakStyle(c.style);
        filer.WriteText(u"a");
        filer.WriteLineBreak();
        filer.WriteText(u"b");
        EXPECT_EQ(filer.Bytes(), c.expected);
    }
    EXPECT_EQ(TCodeEditFiler().LineBreakStyle(), lbLF);
}

TEST(CodeEditFileWriter, AnItemLargerThanTheBufferGrowsIt)
{
    TCodeEditFiler filer;
    EXPECT_EQ(filer.BufferSize(), TCodeEditFiler::DefaultBufferSize);
    const QString big(40000, QLatin1Char('x'));
    filer.WriteText(u"head");
    filer.WriteText(big);
    EXPECT_GE(filer.BufferSize(), 40004);
    EXPECT_EQ(filer.Bytes(), "head" + big.toLatin1());
}

TEST(CodeEditFileWriter, FlushesAcrossTheBufferAndCommitsExactBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath("big.sbp");
    QByteArray expected;
    {
        TCodeEditFileWriter writer(name);
        writer.SetLineBreakStyle(lbCRLF);
        for (int i = 0; i < 3000; ++i) {
            const QString line = QString("M3,%1,%1,0").arg(i);
            writer.WriteText(line);
            writer.WriteLineBreak();
            expected += line.toLatin1() + "\r\n";
        }
        EXPECT_FALSE(QFile::exists(name)) << "nothing at the target before the commit";
        writer.Commit();
    }
    EXPECT_GT(expected.size(), 2 * TCodeEditFiler::DefaultBufferSize);
    EXPECT_EQ(ReadFile(name), expected);
}

TEST(CodeEditFileWriter, WithoutCommitANewTargetIsNeverCreated)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath("new.sbp");
    {
        TCodeEditFileWriter writer(name);
        writer.WriteText(QString(50000, QLatin1Char('y'))); // flushed to the temporary file
    }
    EXPECT_FALSE(QFile::exists(name));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty()) << "temporary removed";
}

TEST(CodeEditFileWriter, EncodesWindows1252AndWritesTheByteOrderMark)
{
    TCodeEditFiler filer;
    filer.SetEncoding(TTextEncoding::Windows1252);
    filer.WriteText(QString::fromUtf16(u"\u20AC\u00E9"));
    EXPECT_EQ(filer.Bytes(), QByteArray("\x80\xE9"));

    TCodeEditStringList list;
    list.LoadFromBytes("\xEF\xBB\xBF" "a\n");
    list.Put(0, QString::fromUtf16(u"\u00E9"));
    EXPECT_EQ(list.SaveToBytes(), QByteArray("\xEF\xBB\xBF\xC3\xA9\n"));
}

// Saves about 200 KB to `name` in a child process whose files may not grow beyond
// 64 KB, and returns the text of the error the save raised ("no error" when none).
std::string SaveBeyondFileSizeLimit(const QString& name)
{
    int fds[2];
    if (pipe(fds) != 0) {
        return "pipe failed";
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        std::signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead of ending the child
        const rlimit limit{64 * 1024, 64 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string message = "no error";
        try {
            TCodeEditStringList list;
            for (int i = 0; i < 10000; ++i) {
                list.Add(QString("M3,%1.125,%1.5,-0.25").arg(i));
            }
            list.SaveToFile(name);
        } catch (const EWriteError& e) {
            message = e.what();
        } catch (const std::exception& e) {
            message = std::string("unexpected error: ") + e.what();
        }
        const ssize_t written = write(fds[1], message.data(), message.size());
        _exit(written == static_cast<ssize_t>(message.size()) ? 0 : 1);
    }
    close(fds[1]);
    std::string message;
    char chunk[256];
    for (ssize_t n; (n = read(fds[0], chunk, sizeof chunk)) > 0;) {
        message.append(chunk, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? message : "the child failed: " + message;
}

TEST(CodeEditFileWriter, AWriteThatFailsPartWayNamesTheReasonAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath("part.sbp");
    {
        QFile old(name);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
    }
    const std::string message = SaveBeyondFileSizeLimit(name);
    EXPECT_EQ(message, "Error writing file \"" + name.toStdString() + "\". File too large");
    EXPECT_EQ(ReadFile(name), QByteArray("old\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"part.sbp"}) << "no temporary left";
}

} // namespace
