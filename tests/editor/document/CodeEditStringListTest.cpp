#include "editor/document/CodeEditStringList.h"
#include "../QtPrinters.h"
#include "platform/core/files/Stream.h"
#include "../../support/NonRegularFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

QByteArray Bytes(const char* s, int n) { return QByteArray(s, n); }

QStringList Lines(const TCodeEditStringList& list) { return list.ToStringList(); }

TEST(CodeEditStringList, LoadsEachLineBreakStyle)
{
    struct Case {
        QByteArray bytes;
        QStringList lines;
        TLineBreakStyle style;
        bool finalBreak;
    } cases[] = {
        {"a\r\nb", {"a", "b"}, lbCRLF, false},
        {"a\nb\n", {"a", "b"}, lbLF, true},
        {"a\rb", {"a", "b"}, lbCR, false},
        {"a\r\n\r\nb", {"a", "", "b"}, lbCRLF, false},
        {"a\r\nb\nc", {"a", "b", "c"}, lbCRLF, false}, // mixed breaks save as CR LF
        {"a\n\rb", {"a", "", "b"}, lbCRLF, false},
        {"\n", {""}, lbLF, true},
        {"x", {"x"}, lbCRLF, false},
        {"", {}, lbCRLF, true},
    };
    for (const Case& c : cases) {
        TCodeEditStringList list;
        list.LoadFromBytes(c.bytes);
        EXPECT_EQ(Lines(list), c.lines) << c.bytes.toStdString();
        EXPECT_EQ(list.LineBreakStyle(), c.style) << c.bytes.toStdString();
        EXPECT_EQ(list.FinalLineBreak(), c.finalBreak) << c.bytes.toStdString();
    }
}

TEST(CodeEditStringList, SavesBackByteForByte)
{
    const QByteArray files[] = {
        "M3,1,2,0\r\nJ2,0,0\r\n", "M3,1,2,0\r\nJ2,0,0", "M3,1,2,0\nJ2,0,0\n", "M3,1,2,0\nJ2,0,0",
        "M3,1,2,0\rJ2,0,0\r",     "M3,1,2,0\rJ2,0,0",   "\n\n\n",             "one line",
        "\xEF\xBB\xBF" "caf\xC3\xA9\r\n",                // UTF-8 with its byte-order mark
        "caf\xE9 \x80 \x81 \x9D\n",                       // not UTF-8: Windows-1252 bytes
        "",
    };
    for (const QByteArray& file : files) {
        TCodeEditStringList list;
        list.LoadFromBytes(file);
        EXPECT_EQ(list.SaveToBytes(), file) << file.toStdString();
    }
}

// Files made of random pieces, byte-order marks among them (at the file's start, at
// line starts, mid-line): every one loads and saves back byte for byte.
TEST(CodeEditStringList, ByteOrderMarksAnywhereSurviveLoadAndSave)
{
    const QByteArray breaks[] = {"\r\n", "\n", "\r"};
    QByteArray pieces[] = {"\xEF\xBB\xBF", "\xEF\xBB\xBF", "M3,1,2", "x", "\xC3\xA9", " ", "\n"};
    std::mt19937 rng(37);
    for (int file = 0; file < 400; ++file) {
        pieces[std::size(pieces) - 1] = breaks[file % 3]; // one break per file: mixed ones save as CR LF
        QByteArray bytes;
        const int count = static_cast<int>(rng() % 12);
        for (int k = 0; k < count; ++k) {
            bytes += pieces[rng() % std::size(pieces)];
        }
        if (file % 7 == 0) {
            bytes += "\xE9"; // not UTF-8: the same file read as Windows-1252
        }
        TCodeEditStringList list;
        list.LoadFromBytes(bytes);
        EXPECT_EQ(list.SaveToBytes(), bytes) << bytes.toHex().toStdString();
    }
    TCodeEditStringList joined; // two programs that each began with a mark
    joined.LoadFromBytes("\xEF\xBB\xBF" "a\n\xEF\xBB\xBF" "b\n");
    EXPECT_EQ(joined.Get(1), QString(QChar(0xFEFF)) + "b");
    EXPECT_EQ(joined.Encoding(), TTextEncoding::Utf8Bom);
}

TEST(CodeEditStringList, SavingTwoLinesWithAndWithoutFinalBreak)
{
    TCodeEditStringList list;
    list.Add("a");
    list.Add("b");
    list.SetLineBreakStyle(lbLF);
    EXPECT_EQ(list.SaveToBytes(), QByteArray("a\nb\n"));
    list.SetFinalLineBreak(false);
    EXPECT_EQ(list.SaveToBytes(), QByteArray("a\nb"));
    list.SetLineBreakStyle(lbCRLF);
    EXPECT_EQ(list.SaveToBytes(), QByteArray("a\r\nb"));
}

TEST(CodeEditStringList, NulIsKeptAsACharacter)
{
    const QByteArray file = Bytes("a\0b\nc\0\n", 7);
    TCodeEditStringList list;
    list.LoadFromBytes(file);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(0), QString::fromUtf16(u"a\0b", 3));
    EXPECT_EQ(list.SaveToBytes(), file);
}

TEST(CodeEditStringList, Windows1252TextWithUnencodableCharacterSavesAsUtf8)
{
    TCodeEditStringList list;
    list.LoadFromBytes("caf\xE9\n");
    EXPECT_EQ(list.Encoding(), TTextEncoding::Windows1252);
    EXPECT_EQ(list.Get(0), QString::fromUtf16(u"caf\u00E9"));
    list.Put(0, QString::fromUtf16(u"caf\u00E9 \u4E2D"));
    EXPECT_EQ(list.SaveToBytes(), QByteArray("caf\xC3\xA9 \xE4\xB8\xAD\n"));
    EXPECT_EQ(list.Encoding(), TTextEncoding::Utf8);
}

TEST(CodeEditStringList, OutOfRangeReadsAreEmptyWritesRaiseAndPutAtCountAppends)
{
    TCodeEditStringList list;
    list.Add("x");
    EXPECT_EQ(list.Get(-1), QString());
    EXPECT_EQ(list.Get(1), QString());
    EXPECT_EQ(list.GetObject(5), nullptr);
    EXPECT_EQ(list.GetRange(-1), 0);
    EXPECT_EQ(list.GetExpandedString(3), QString());
    struct Case {
        const char* what;
        std::function<void()> call;
        const char* message;
    } cases[] = {
        {"Delete(Count)", [&] { list.Delete(1); }, "Invalid stringlist index 1"},
        {"Delete(-1)", [&] { list.Delete(-1); }, "Invalid stringlist index -1"},
        {"Insert(Count+1)", [&] { list.Insert(2, "y"); }, "Invalid stringlist index 2"},
        {"Put(Count+1)", [&] { list.Put(2, "y"); }, "Invalid stringlist index 2"},
        {"PutObject(Count)", [&] { list.PutObject(1, nullptr); }, "Invalid stringlist index 1"},
        {"PutRange(Count)", [&] { list.PutRange(1, 3); }, "Invalid stringlist index 1"},
        {"Exchange", [&] { list.Exchange(0, 4); }, "Invalid stringlist index 4"},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.what << " did not raise";
        } catch (const ECodeEditStringList& e) {
            EXPECT_STREQ(e.what(), c.message) << c.what;
        }
        EXPECT_EQ(Lines(list), QStringList{"x"}) << c.what << " changed the list";
    }
    list.Put(1, "second"); // at Count: appends
    list.Put(0, "changed");
    EXPECT_EQ(Lines(list), (QStringList{"changed", "second"}));
}

TEST(CodeEditStringList, CapacityGrowsBySixteenThenByAQuarter)
{
    TCodeEditStringList list;
    std::vector<int> capacities;
    for (int i = 0; i < 130; ++i) {
        list.Add("l");
        if (capacities.empty() || capacities.back() != list.Capacity()) {
            capacities.push_back(list.Capacity());
        }
    }
    EXPECT_EQ(capacities, (std::vector<int>{16, 32, 48, 64, 80, 100, 125, 156}));
}

TEST(CodeEditStringList, AddStringsRoundsCapacityAndNotifiesOnce)
{
    TCodeEditStringList list;
    list.Add("x");
    std::vector<std::pair<int, QString>> added;
    list.OnAdded = [&](int index, const QString& text) { added.emplace_back(index, text); };
    list.AddStrings(QStringList{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p", "q"});
    EXPECT_EQ(list.Count(), 18);
    EXPECT_EQ(list.Capacity(), 32);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].first, 1);
    EXPECT_EQ(added[0].second, QString());
    EXPECT_EQ(list.GetRange(5), -1);
}

struct TChangeCounter {
    int changing = 0;
    int change = 0;
    void Changing(TObject*) { ++changing; }
    void Changed(TObject*) { ++change; }
};

TEST(CodeEditStringList, NotificationsFireWithIndexAndText)
{
    TCodeEditStringList list;
    TChangeCounter counter;
    list.OnChanging = MakeDelegate<&TChangeCounter::Changing>(&counter);
    list.OnChange = MakeDelegate<&TChangeCounter::Changed>(&counter);
    QStringList log;
    list.OnAdded = [&](int i, const QString& t) { log << QString("added %1 %2").arg(i).arg(t); };
    list.OnInserted = [&](int i, const QString& t) { log << QString("inserted %1 %2").arg(i).arg(t); };
    list.OnPutted = [&](int i, const QString& t) { log << QString("put %1 %2").arg(i).arg(t); };
    list.OnDeleted = [&](int i) { log << QString("deleted %1").arg(i); };
    list.OnCleared = [&](TObject* sender) { log << (sender == &list ? "cleared" : "cleared by stranger"); };

    list.Add("a");
    list.Add("b");
    list.Insert(1, "c");
    list.Put(0, "d");
    list.Delete(2);
    EXPECT_EQ(counter.changing, 5);
    EXPECT_EQ(counter.change, 5);
    list.BeginUpdate();
    list.Add("e");
    list.Add("f");
    EXPECT_EQ(counter.change, 5);
    list.EndUpdate();
    EXPECT_EQ(counter.changing, 6);
    EXPECT_EQ(counter.change, 6);
    list.Clear();
    list.Clear(); // empty: no second notification
    EXPECT_EQ(log, (QStringList{"added 0 a", "added 1 b", "inserted 1 c", "put 0 d", "deleted 2",
                                "added 2 e", "added 3 f", "cleared"}));
}

TEST(CodeEditStringList, ExchangeAndMoveKeepTextsAndObjects)
{
    TCodeEditStringList list;
    int o1 = 1, o2 = 2;
    list.AddObject("one", &o1);
    list.AddObject("two", &o2);
    list.Add("three");
    list.Exchange(0, 2);
    EXPECT_EQ(Lines(list), (QStringList{"three", "two", "one"}));
    EXPECT_EQ(list.GetObject(2), &o1);
    list.Move(2, 0);
    EXPECT_EQ(Lines(list), (QStringList{"one", "three", "two"}));
    EXPECT_EQ(list.GetObject(0), &o1);
    EXPECT_EQ(list.IndexOf("TWO"), 2);
    EXPECT_EQ(list.IndexOf("four"), -1);
}

TEST(CodeEditStringList, DeleteLinesAndInsertBlankLines)
{
    TCodeEditStringList list;
    list.SetText("a\nb\nc\nd\n");
    std::vector<int> deleted;
    list.OnDeleted = [&](int i) { deleted.push_back(i); };
    list.DeleteLines(2, 10); // fewer follow: removes to the end
    EXPECT_EQ(Lines(list), (QStringList{"a", "b"}));
    EXPECT_EQ(deleted, std::vector<int>{2});

    list.PutRange(0, 7);
    list.InsertBlankLines(1, 2);
    EXPECT_EQ(Lines(list), (QStringList{"a", "", "", "b"}));
    for (int i : {1, 2}) {
        const TCodeEditStringRec& rec = list.Record(i);
        EXPECT_EQ(rec.range, -1) << "a blank line is not yet scanned";
        EXPECT_EQ(rec.expandedLength, -1);
        EXPECT_EQ(rec.flags, TCodeEditStringRec::LengthStale);
        EXPECT_FALSE(rec.continuation);
    }
    EXPECT_EQ(list.GetRange(0), 7);
}

TEST(CodeEditStringList, ExpandedStringsAndLongestLineFollowTabWidth)
{
    TCodeEditStringList list;
    list.Add("abcdef");
    list.Add("\tx");
    list.Add("");
    EXPECT_EQ(list.GetLengthOfLongestLine(), 9); // tab to column 8, then x
    EXPECT_EQ(list.GetExpandedString(1), QString(8, QLatin1Char('\t')) + "x");
    EXPECT_EQ(list.Record(1).flags, TCodeEditStringRec::HasTabs);
    EXPECT_EQ(list.GetExpandedString(2), QString());
    EXPECT_EQ(list.Record(2).expandedLength, 0);
    EXPECT_EQ(list.Record(2).flags, TCodeEditStringRec::HasNoTabs);
    list.SetTabWidth(2);
    EXPECT_EQ(list.GetLengthOfLongestLine(), 6);
    list.Put(2, "1234567");
    EXPECT_EQ(list.GetLengthOfLongestLine(), 7);
    TCodeEditStringList empty;
    EXPECT_EQ(empty.GetLengthOfLongestLine(), 0);
}

QString Letters(int n) { return QString(n, QLatin1Char('x')); }

TEST(CodeEditStringList, WrapCutsAfterTheLastBreakWithinTheWidth)
{
    struct Case {
        QString text;
        QStringList pieces;
    } cases[] = {
        {Letters(100), {Letters(100)}},
        {Letters(60) + " " + Letters(60), {Letters(60) + " ", Letters(60)}},
        {Letters(89) + "," + Letters(10), {Letters(89) + ",", Letters(10)}},
        {Letters(80), {Letters(80)}},
        {Letters(99) + ";", {Letters(99) + ";"}}, // a break in the last position does not cut
        {Letters(30) + ">" + Letters(30) + "\t" + Letters(30), {Letters(30) + ">" + Letters(30) + "\t", Letters(30)}},
        {Letters(70) + " " + Letters(100) + " " + Letters(10),
         {Letters(70) + " ", Letters(100) + " ", Letters(10)}},
    };
    for (const Case& c : cases) {
        TCodeEditStringList list;
        list.SetWrapMode(true);
        const int index = list.Add(c.text);
        EXPECT_EQ(index, 0);
        EXPECT_EQ(Lines(list), c.pieces) << c.text.size();
        for (int i = 0; i < list.Count(); ++i) {
            EXPECT_EQ(list.IsContinuationLine(i), i > 0);
        }
    }
}

TEST(CodeEditStringList, WrapModeOffJoinsAndSavingKeepsTheWrap)
{
    const QString longLine = Letters(60) + " " + Letters(60);
    TCodeEditStringList list;
    list.SetLineBreakStyle(lbLF);
    list.Add("short");
    list.Add(longLine);
    list.SetWrapWidth(40);
    list.SetWrapMode(true);
    EXPECT_EQ(Lines(list), (QStringList{"short", Letters(60) + " ", Letters(60)}));

    EXPECT_EQ(list.SaveToBytes(), ("short\n" + longLine + "\n").toUtf8());
    EXPECT_EQ(list.Count(), 3) << "saving leaves the buffer wrapped";
    EXPECT_EQ(list.Text(), "short\n" + longLine + "\n");

    list.SetWrapMode(false);
    EXPECT_EQ(Lines(list), (QStringList{"short", longLine}));
    EXPECT_FALSE(list.IsContinuationLine(1));
}

TEST(CodeEditStringList, RewrapLineReturnsTheHeadLine)
{
    TCodeEditStringList list;
    list.SetWrapWidth(10);
    list.SetWrapMode(true);
    list.Add("top");
    list.Add("aaaa bbbb cccc dddd");
    ASSERT_EQ(Lines(list), (QStringList{"top", "aaaa bbbb ", "cccc dddd"}));
    list.Put(2, "cccc dddd eeee");
    EXPECT_EQ(list.RewrapLine(2), 1);
    EXPECT_EQ(Lines(list), (QStringList{"top", "aaaa bbbb ", "cccc dddd ", "eeee"}));
    EXPECT_EQ(list.RewrapLine(0), 0);
    list.SetWrapMode(false);
    EXPECT_EQ(list.RewrapLine(2), 2);
}

TEST(CodeEditStringList, UnwrapStartingInsideAWrappedLineKeepsItsText)
{
    TCodeEditStringList list;
    list.SetWrapWidth(5);
    list.SetWrapMode(true);
    list.Add("abc, def, ghi");
    ASSERT_EQ(Lines(list), (QStringList{"abc, ", "def, ", "ghi"}));
    list.UnwrapLines(1, 2);
    EXPECT_EQ(Lines(list), QStringList{"abc, def, ghi"});
}

TEST(CodeEditStringList, LoadingWhileWrappedWrapsEachLine)
{
    TCodeEditStringList list;
    list.SetWrapWidth(4);
    list.SetWrapMode(true);
    list.LoadFromBytes("ab cd ef\r\ngh\r\n");
    EXPECT_EQ(Lines(list), (QStringList{"ab ", "cd ", "ef", "gh"}));
    EXPECT_EQ(list.SaveToBytes(), QByteArray("ab cd ef\r\ngh\r\n"));
}

// The pieces of a buffer, each marked "+" where it continues the line before.
QStringList Pieces(const TCodeEditStringList& list)
{
    QStringList pieces;
    for (int i = 0; i < list.Count(); ++i) {
        pieces << (list.IsContinuationLine(i) ? "+" : "") + list.Get(i);
    }
    return pieces;
}

// Random edits, rewraps and unwraps of a wrapped buffer keep its text and leave the
// pieces that a fresh buffer makes of the same lines.
TEST(CodeEditStringList, RandomRewrapsKeepTheTextAndMatchAFreshWrap)
{
    std::mt19937 rng(3);
    const QString alphabet = "xxxxxxab ,;>\t";
    const auto randomText = [&](int maxLength) {
        QString text;
        for (int n = static_cast<int>(rng() % (maxLength + 1)); n > 0; --n) {
            text += alphabet[static_cast<qsizetype>(rng() % alphabet.size())];
        }
        return text;
    };
    const auto wrapped = [] {
        auto list = std::make_unique<TCodeEditStringList>();
        list->SetWrapWidth(7);
        list->SetWrapMode(true);
        return list;
    };
    auto list = wrapped();
    for (int i = 0; i < 40; ++i) {
        list->Add(randomText(40));
    }
    for (int step = 0; step < 400; ++step) {
        const int at = static_cast<int>(rng() % list->Count());
        if (step % 2 == 0) {
            list->Put(at, randomText(12)); // an edit in one piece, then the line is cut again
        }
        const QString text = list->Text();
        if (step % 2 == 0) {
            list->RewrapLine(at);
        } else {
            list->UnwrapLines(at, at + static_cast<int>(rng() % 5));
            list->WrapAll(); // the lines still wrapped stay as they are
        }
        ASSERT_EQ(text, list->Text()) << "step " << step;
        auto fresh = wrapped();
        fresh->SetText(text);
        ASSERT_EQ(Pieces(*fresh), Pieces(*list)) << "step " << step;
    }
}

// "part.sbp" in a fresh temporary folder, written with the given bytes.
struct TPartFile {
    explicit TPartFile(const QByteArray& contents)
    {
        QFile f(name);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(contents) == contents.size());
    }
    QByteArray Read() const
    {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QTemporaryDir dir;
    const QString name = dir.filePath("part.sbp");
};

TEST(CodeEditStringList, SaveToFileWritesAndReplacesAtomically)
{
    TPartFile file("old contents\n");
    TCodeEditStringList list;
    list.LoadFromFile(file.name);
    list.Put(0, "new contents");
    list.SaveToFile(file.name);
    EXPECT_EQ(file.Read(), QByteArray("new contents\n"));
    EXPECT_EQ(QDir(file.dir.path()).entryList(QDir::Files), QStringList{"part.sbp"}) << "no temporary left";
}

TEST(CodeEditStringList, AFailedSaveLeavesFileAndBufferAsTheyWere)
{
    TPartFile file("old\n");
    // A writer that is never committed (the save failed half-way) leaves the old file.
    {
        TCodeEditFileWriter writer(file.name);
        writer.WriteText(u"half-written");
    }
    EXPECT_EQ(file.Read(), QByteArray("old\n"));

    TCodeEditStringList list;
    list.SetWrapWidth(4);
    list.SetWrapMode(true);
    list.Add("ab cd ef");
    const QStringList before = Lines(list);
    EXPECT_THROW(list.SaveToFile(file.dir.filePath("missing/part.sbp")), EFCreateError);
    EXPECT_THROW(list.SaveToFile(file.dir.path()), EFCreateError);
    EXPECT_EQ(Lines(list), before);
    EXPECT_TRUE(list.IsContinuationLine(1));
}

TEST(CodeEditStringList, LoadFromMissingFileRaisesReadError)
{
    TCodeEditStringList list;
    list.Add("kept");
    EXPECT_THROW(list.LoadFromFile("/nonexistent/dir/file.sbp"), EFOpenError);
    EXPECT_EQ(Lines(list), QStringList{"kept"});
}

// A pipe would hold the window until another program writes into it, a device might
// never end; saving over either would put a regular file in its place.
TEST(CodeEditStringList, ANameThatIsNoRegularFileIsNeitherReadNorReplaced)
{
    QTemporaryDir dir;
    const testsupport::TNonRegularFiles targets(dir.path().toStdString());
    ASSERT_TRUE(targets.Made());
    // Reading the system's null device is safe; only a node of the test's own is saved over.
    const std::string null = dir.filePath("to-null.sbp").toStdString();
    ASSERT_EQ(::symlink("/dev/null", null.c_str()), 0);
    std::vector<std::pair<std::string, std::string>> unreadable = {
        {null, "Not a regular file: \"" + null + "\" is a character device."}};
    for (const auto& target : targets.Entries) {
        unreadable.emplace_back(targets.Path(target), targets.Refusal(target));
    }
    for (const auto& [name, refusal] : unreadable) {
        TCodeEditStringList list;
        list.Add("kept");
        try {
            list.LoadFromFile(QString::fromStdString(name));
            ADD_FAILURE() << "read " << name;
        } catch (const EFOpenError& e) {
            EXPECT_EQ(e.Message(), refusal);
        }
        EXPECT_EQ(Lines(list), QStringList{"kept"});
    }
    for (const auto& target : targets.Entries) {
        TCodeEditStringList list;
        list.Add("kept");
        try {
            list.SaveToFile(QString::fromStdString(targets.Path(target)));
            ADD_FAILURE() << "saved " << target.Name;
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.Message(), targets.Refusal(target));
        }
    }
    EXPECT_TRUE(targets.Unchanged());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot).size(),
              static_cast<qsizetype>(targets.Entries.size() + 1))
        << "no temporary left";
    EXPECT_FALSE(targets.Waited());
}

TEST(CodeEditStringList, StreamsReadFromTheStartAndWriteExactBytes)
{
    QByteArray data("x\ny\n");
    QBuffer in(&data);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    in.seek(2);
    TCodeEditStringList list;
    list.LoadFromStream(in);
    EXPECT_EQ(Lines(list), (QStringList{"x", "y"}));
    QByteArray outData;
    QBuffer out(&outData);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    list.SaveToStream(out);
    EXPECT_EQ(outData, data);
}

TEST(CodeEditStringList, PlatformStreamsReadWholeAndWriteExactBytes)
{
    TMemoryStream in;
    const char data[] = "a\rb\r";
    in.WriteBuffer(data, 4);
    TCodeEditStringList list;
    list.LoadFromStream(in); // the position is at the end: reading starts over
    EXPECT_EQ(Lines(list), (QStringList{"a", "b"}));
    EXPECT_EQ(list.LineBreakStyle(), lbCR);
    TMemoryStream out;
    list.SaveToStream(out);
    ASSERT_EQ(out.Size(), 4);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(out.Memory()), 4), QByteArray(data, 4));
}

TEST(CodeEditStringList, AssignCopiesLinesAndFileForm)
{
    TCodeEditStringList source;
    source.LoadFromBytes("a\rb");
    TCodeEditStringList copy;
    copy.Add("old");
    copy.Assign(&source);
    EXPECT_EQ(Lines(copy), (QStringList{"a", "b"}));
    EXPECT_EQ(copy.SaveToBytes(), QByteArray("a\rb"));
}

// Random edits against a plain list: the gap must never reorder or lose a line.
TEST(CodeEditStringList, RandomEditsMatchAPlainList)
{
    std::mt19937 rng(12345);
    TCodeEditStringList list;
    QStringList model;
    for (int step = 0; step < 5000; ++step) {
        const int op = static_cast<int>(rng() % 6);
        const int n = static_cast<int>(model.size());
        const QString text = QString::number(step);
        if (op <= 1 || n == 0) {
            const int at = static_cast<int>(rng() % (n + 1));
            list.Insert(at, text);
            model.insert(at, text);
        } else if (op == 2) {
            const int at = static_cast<int>(rng() % n);
            list.Delete(at);
            model.removeAt(at);
        } else if (op == 3) {
            const int at = static_cast<int>(rng() % n);
            list.Put(at, text);
            model[at] = text;
        } else if (op == 4) {
            const int a = static_cast<int>(rng() % n), b = static_cast<int>(rng() % n);
            list.Exchange(a, b);
            model.swapItemsAt(a, b);
        } else {
            const int at = static_cast<int>(rng() % n);
            const int count = static_cast<int>(rng() % 4) + 1;
            list.DeleteLines(at, count);
            model.remove(at, std::min(count, n - at));
        }
        ASSERT_EQ(list.Count(), model.size());
    }
    EXPECT_EQ(Lines(list), model);
}

} // namespace
