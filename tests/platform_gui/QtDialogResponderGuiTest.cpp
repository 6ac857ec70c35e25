#include "platform/gui/QtDialogResponder.h"

#include "platform/gui/FileNameBoxOrder.h"
#include "platform/gui/QtBoxTextView.h"
#include "platform/gui/QtInputBox.h"
#include "platform/gui/QtMessageBox.h"
#include "platform/core/files/RegularFile.h"

#include "../support/FifoWatchdog.h"
#include "../support/SettledWindow.h"
#include "../support/TempFolderTest.h"
#include "../support/WhenModalShown.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>

namespace {

using testsupport::TWhenModalShown;

void Press(QWidget& widget, Qt::Key key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &press);
}

void Type(QWidget& widget, const QString& text)
{
    for (const QChar c : text) {
        Press(widget, Qt::Key(c.toUpper().unicode()), c);
    }
}

std::string Describe(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

// The box's frame lies inside `area`, its buttons inside the box; its text is the text
// given, laid out in lines that fit the view, a word broken only where it is wider than
// the view (never inside a character as the user sees it); a text taller than its room
// scrolls to its end.
void ExpectFits(const TQtTextBox& box, const QRect& area)
{
    const QRect frame = box.frameGeometry();
    EXPECT_TRUE(area.contains(frame)) << Describe(frame) << " on " << Describe(area);
    const auto inBox = [&box](const QWidget& part) { return QRect(part.mapTo(&box, QPoint(0, 0)), part.size()); };
    for (const QPushButton* button : box.findChildren<QPushButton*>()) {
        EXPECT_TRUE(box.rect().contains(inBox(*button))) << Describe(inBox(*button)) << " in " << Describe(box.rect());
    }
    TQtBoxTextView& view = box.TextView();
    EXPECT_TRUE(box.rect().contains(inBox(view)));
    view.selectAll();
    EXPECT_EQ(view.SelectedText(), box.Text());
    // What is shown is the text and the word joiners that keep its words whole.
    EXPECT_EQ(view.document()->toRawText().remove(QChar(0x2060)),
              QString(box.Text()).replace('\n', QChar::ParagraphSeparator));
    const int width = view.viewport()->width();
    const QFontMetricsF metrics(view.font());
    for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
        const QTextLayout& layout = *block.layout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            EXPECT_LE(line.naturalTextWidth(), width);
            const int end = line.textStart() + line.textLength();
            if (end == text.size() || text[end - 1].isSpace() || text[end].isSpace()) {
                continue;
            }
            graphemes.setPosition(end);
            EXPECT_TRUE(graphemes.isAtBoundary()) << "broken inside a character at " << end;
            qsizetype from = end;
            qsizetype to = end;
            while (from > 0 && !text[from - 1].isSpace()) {
                --from;
            }
            while (to < text.size() && !text[to].isSpace()) {
                ++to;
            }
            EXPECT_GT(metrics.horizontalAdvance(text.mid(from, to - from)), width) << "a word that fits was broken";
        }
    }
    const int hidden = static_cast<int>(std::ceil(view.document()->size().height())) - view.viewport()->height();
    EXPECT_EQ(view.verticalScrollBar()->maximum(), std::max(hidden, 0));
    EXPECT_EQ(view.verticalScrollBar()->isVisible(), hidden > 0);
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
    const TWhenModalShown<TQtMessageBox> answer([&](TQtMessageBox& box) {
        shown << box.windowTitle() << box.Text();
        EXPECT_EQ(box.Buttons().standardButtons(),
                  QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
        EXPECT_EQ(box.DefaultButton(), box.Button(QDialogButtonBox::Yes));
        box.Button(QDialogButtonBox::No)->click();
    });
    EXPECT_EQ(responder.MessageDlg("Cancel preview and Exit?", TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel),
              TModalResult::mrNo);
    EXPECT_EQ(shown, (QStringList{"Kerfpad", "Cancel preview and Exit?"}));
}

// Escape answers as the toolkit's own message box chooses; Enter clicks the default.
TEST(QtDialogResponderGui, EscapeAndEnterAnswerAMessageBox)
{
    struct TCase {
        TMsgDlgButtons Buttons;
        Qt::Key Key;
        TModalResult Answer;
    };
    const TCase cases[] = {
        {mbYes | mbNo | mbCancel, Qt::Key_Escape, TModalResult::mrCancel},
        {mbYes | mbNo, Qt::Key_Escape, TModalResult::mrNo},
        {mbOK, Qt::Key_Escape, TModalResult::mrOk},
        {0, Qt::Key_Escape, TModalResult::mrOk},
        {mbAbort | mbRetry | mbIgnore, Qt::Key_Escape, TModalResult::mrAbort},
        {mbYes | mbNo | mbCancel, Qt::Key_Return, TModalResult::mrYes},
        {mbOK | mbCancel, Qt::Key_Return, TModalResult::mrOk},
    };
    TQtDialogResponder responder;
    for (const TCase& c : cases) {
        const TWhenModalShown<TQtMessageBox> answer([&](TQtMessageBox& box) { Press(box, c.Key); });
        EXPECT_EQ(responder.MessageDlg("Go on?", TMsgDlgType::mtWarning, c.Buttons), c.Answer)
            << c.Buttons << " " << c.Key;
    }
    // Without a button Escape stands for, the box stays until one is clicked.
    bool stayed = false;
    const TWhenModalShown<TQtMessageBox> answer([&](TQtMessageBox& box) {
        Press(box, Qt::Key_Escape);
        box.close();
        stayed = box.isVisible();
        box.Button(QDialogButtonBox::Retry)->click();
    });
    EXPECT_EQ(responder.MessageDlg("Go on?", TMsgDlgType::mtWarning, mbYes | mbRetry), TModalResult::mrRetry);
    EXPECT_TRUE(stayed);
}

TEST(QtDialogResponderGui, InputBoxesGiveWhatWasTypedOnEnterAndNothingOnEscape)
{
    TQtDialogResponder responder;
    QStringList shown;
    std::string value = "7";
    {
        const TWhenModalShown<TQtInputBox> answer([&](TQtInputBox& box) {
            shown << box.windowTitle() << box.Text() << box.Edit().selectedText();
            Type(box.Edit(), "12");
            Press(box.Edit(), Qt::Key_Return);
        });
        EXPECT_TRUE(responder.InputQuery("", "Value?", value));
    }
    EXPECT_EQ(value, "12");
    EXPECT_EQ(shown, (QStringList{"Kerfpad", "Value?", "7"}));

    for (const bool escape : {true, false}) {
        const TWhenModalShown<TQtInputBox> answer([&](TQtInputBox& box) {
            shown = QStringList{box.windowTitle()};
            Type(box.Edit(), "34");
            if (escape) {
                Press(box.Edit(), Qt::Key_Escape);
            } else {
                box.close();
            }
        });
        EXPECT_FALSE(responder.InputQuery("part.sbp", "Value?", value));
        EXPECT_EQ(value, "12");
        EXPECT_EQ(shown, QStringList{"part.sbp"});
    }
}

// The boxes on screens of several sizes, with prompts and messages of every kind the
// engine can send.
TEST(QtTextBoxGui, BoxesFitTheAvailableAreaWithTheirTextAndButtons)
{
    QString words;
    while (words.size() < 300) {
        words += "prompt ";
    }
    words.truncate(300);
    QString lines;
    for (int i = 0; i < 400; ++i) {
        lines += QStringLiteral("line %1 of a long message\n").arg(i);
    }
    const QString pair = QString::fromUtf16(u"\U0001F600");
    const QString texts[] = {
        "Value?",
        words,
        QString(5000, 'W'),
        QString(5001, 'C'),
        "Cannot find the label \"" + QString(4800, 'A') + "\" (line: 1)",
        pair.repeated(2500),
        QString::fromUtf16(u"e\u0301").repeated(2000),
        "Cannot find file: /home/user/parts/" + QString(100, 'p') + ".sbp (well-known)",
        lines,
    };
    const QRect areas[] = {{0, 0, 1600, 1000}, {0, 0, 1024, 768}, {1600, 200, 640, 480}};
    for (const QRect& area : areas) {
        for (const QString& text : texts) {
            SCOPED_TRACE(Describe(area) + " " + text.left(30).toStdString());
            TQtMessageBox message(nullptr, "Kerfpad", TMsgDlgType::mtError, text, mbOK);
            TQtInputBox input(nullptr, "part.sbp", text, "7");
            for (TQtTextBox* box : std::initializer_list<TQtTextBox*>{&message, &input}) {
                box->FitTo(area);
                box->show();
                EXPECT_TRUE(testsupport::WaitForSettledWindow(*box));
                ExpectFits(*box, area);
                box->hide();
            }
        }
    }
}

// Through the responder, on the screen the test runs on.
TEST(QtDialogResponderGui, ALongPromptsBoxFitsTheScreenThatShowsIt)
{
    TQtDialogResponder responder;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    int width = 0;
    const TWhenModalShown<TQtInputBox> answer([&](TQtInputBox& box) {
        ExpectFits(box, screen);
        width = box.frameGeometry().width();
        Type(box.Edit(), "5");
        Press(box.Edit(), Qt::Key_Enter);
    });
    std::string value;
    EXPECT_TRUE(responder.InputQuery("", QString(3000, 'P').toStdString() + " end?", value));
    EXPECT_EQ(value, "5");
    EXPECT_GT(width, screen.width() / 2) << "a long word takes the width it may";
}

class QtFileDialogGui : public testsupport::TTempFolderTest {};

TEST_F(QtFileDialogGui, SaveDialogStartsInTheFolderWithTheProposedName)
{
    TQtDialogResponder responder;
    QString directory;
    std::string chosen;
    {
        const TWhenModalShown<QFileDialog> answer([&](QFileDialog& dialog) {
            directory = dialog.directory().absolutePath();
            EXPECT_EQ(dialog.selectedFiles().value(0), QString::fromStdString(Path("part.sbp")));
            EXPECT_EQ(dialog.nameFilters(), QStringList{"Shopbot Files (*.sbp)"});
            static_cast<QDialog&>(dialog).accept(); // QFileDialog hides it
        });
        EXPECT_TRUE(
            responder.SaveDialog({"", folder.string(), "part.sbp", "Shopbot Files (*.sbp)|*.sbp", "sbp"}, chosen));
    }
    EXPECT_EQ(chosen, Path("part.sbp"));
    EXPECT_EQ(directory.toStdString(), folder.string());

    const TWhenModalShown<QFileDialog> answer([](QFileDialog& dialog) { dialog.reject(); });
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
        ASSERT_TRUE(
            testsupport::WaitFor([&] { return files->rowCount(files->index(dialog.directory().absolutePath())) == 2; }));
        for (const char* name : {"a.sbp", "kmsg.sbp"}) {
            const QModelIndex entry = files->index(QString::fromStdString(Path(name)));
            EXPECT_FALSE(files->fileIcon(entry).isNull()) << name;
            types << files->type(entry);
        }
        // Painted, so the views ask for the icons too.
        for (QAbstractItemView* view : dialog.findChildren<QAbstractItemView*>()) {
            view->viewport()->repaint();
        }
        dialog.reject();
    };
    {
        const TWhenModalShown<QFileDialog> answer(look);
        std::string chosen;
        EXPECT_FALSE(responder.SaveDialog({"", folder.string(), "", "Shopbot Files (*.sbp)|*.sbp", "sbp"}, chosen));
    }
    const TWhenModalShown<QFileDialog> answer(look);
    std::vector<std::string> files;
    EXPECT_FALSE(responder.OpenDialog({"", folder.string(), "", "Shopbot Files (*.sbp)|*.sbp", ""}, true, files));
    EXPECT_EQ(types, (QStringList{"File", "File", "File", "File"}));
}

// Several names in the name box open in the order they stand there, whatever order the
// dialog's list selected them in: a name listed only after it was typed (the folder still
// being read) was selected after the names typed behind it, as is a name put before one
// already selected.
TEST_F(QtFileDialogGui, TheOpenDialogGivesTheFilesInTheOrderOfTheNameBox)
{
    for (const char* name : {"alpha.sbp", "bp.sbp", "mid.sbp", "square.sbp", "zeta.sbp"}) {
        WriteText(name, "M2,1,1\r\n");
    }
    const QString named = R"("square.sbp" "bp.sbp")";
    const struct {
        const char* What;
        // Typed first, its files selected before the rest is put in.
        QString First;
        // Then the box's whole text, typed, or pasted over what stands there.
        bool Paste;
    } cases[] = {
        {"typed", {}, false},
        {"the second name selected first", R"("bp.sbp")", true},
        {"the first name a pasted text adds", R"("bp.sbp" "alpha.sbp")", true},
    };
    TQtDialogResponder responder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        QString box;
        const TWhenModalShown<QFileDialog> answer([&](QFileDialog& dialog) {
            auto* files = dialog.findChild<QFileSystemModel*>();
            auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit");
            auto* list = dialog.findChild<QAbstractItemView*>("listView");
            ASSERT_TRUE(files != nullptr && edit != nullptr && list != nullptr);
            const QModelIndex shown = files->index(dialog.directory().absolutePath());
            ASSERT_TRUE(testsupport::WaitFor([&] { return files->rowCount(shown) == 5; }));
            edit->setFocus();
            if (!c.First.isEmpty()) {
                Type(*edit, c.First);
                ASSERT_EQ(list->selectionModel()->selectedRows().size(), NamesInFileNameBox(c.First).size());
            }
            if (c.Paste) {
                edit->selectAll();
                edit->insert(named);
            } else {
                Type(*edit, named);
            }
            box = edit->text();
            Press(*edit, Qt::Key_Return);
        });
        std::vector<std::string> files;
        EXPECT_TRUE(responder.OpenDialog({"", folder.string(), "", "Shopbot Files (*.sbp)|*.sbp", ""}, true, files));
        EXPECT_EQ(box, named);
        EXPECT_EQ(files, (std::vector<std::string>{Path("square.sbp"), Path("bp.sbp")}));
    }
}

// The height of the first row of the dialog's list and detail views once the folder of
// `entries` entries is listed, and the height of a line of the views' text.
void MeasureRows(QFileDialog& dialog, int entries, std::map<std::string, int>& rowHeights, int& line)
{
    auto* files = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(files, nullptr);
    const QModelIndex shown = files->index(dialog.directory().absolutePath());
    ASSERT_TRUE(testsupport::WaitFor([&] { return files->rowCount(shown) == entries; }));
    const std::pair<QFileDialog::ViewMode, const char*> modes[] = {{QFileDialog::List, "listView"},
                                                                   {QFileDialog::Detail, "treeView"}};
    for (const auto& [mode, name] : modes) {
        dialog.setViewMode(mode);
        auto* view = dialog.findChild<QAbstractItemView*>(name);
        ASSERT_NE(view, nullptr);
        // Laid out, its first row in place.
        ASSERT_TRUE(testsupport::WaitForSettledWindow(dialog, [&] { return view->indexAt(QPoint(4, 4)).isValid(); }))
            << name;
        const QModelIndex first = view->indexAt(QPoint(4, 4));
        rowHeights[name] = view->visualRect(first).height();
        line = view->fontMetrics().height();
    }
}

// A view asks its icons at its own size (a list view at the style's list-view size, 24
// pixels in Fusion); the entries' icons stay small, so a folder shows as many entries in
// the list mode as in the detail view, each row little taller than a line of text.
TEST_F(QtFileDialogGui, TheDialogsRowsStayCompactInEveryViewMode)
{
    for (int i = 0; i < 40; ++i) {
        WriteText("part" + std::to_string(i) + ".sbp", "M2,1,1\r\n");
    }
    std::filesystem::create_directory(folder / "sub");
    TQtDialogResponder responder;
    std::map<std::string, int> rowHeights;
    int line = 0;
    const TWhenModalShown<QFileDialog> answer([&](QFileDialog& dialog) {
        MeasureRows(dialog, 41, rowHeights, line);
        dialog.reject();
    });
    std::string chosen;
    EXPECT_FALSE(responder.SaveDialog({"", folder.string(), "", "Shopbot Files (*.sbp)|*.sbp", "sbp"}, chosen));
    const int small = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
    EXPECT_EQ(rowHeights["listView"], rowHeights["treeView"]);
    EXPECT_LE(rowHeights["listView"], std::max(line, small) + 2) << "a line of " << line;
}

} // namespace
