// INPUT through the running application's own dialog responder: the box a user sees for
// a prompt of hundreds or thousands of characters fits the screen with its OK and Cancel,
// and OK gives what was typed to the variable.

#include "../RunTestSupport.h"

#include "platform/gui/QtDialogResponder.h"
#include "platform/gui/QtInputBox.h"

#include "../../support/WhenModalShown.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

namespace {

class InputBoxGui : public TRunTest {};

struct TSeenBox {
    QString Caption;
    QString Prompt;
    QRect Frame;
    std::vector<QRect> Buttons; // on the screen
};

TEST_F(InputBoxGui, ALongPromptsBoxFitsTheScreenAndOkGivesTheAnswerToTheVariable)
{
    TQtDialogResponder boxes;
    const TDialogResponderScope scope(&boxes);
    SetSimulate(false);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    std::string words;
    while (words.size() < 300) {
        words += "Width of the part? ";
    }
    words.resize(300);
    const std::string prompts[] = {words, std::string(5000, 'W'), std::string(5001, 'C')};
    for (const std::string& prompt : prompts) {
        SCOPED_TRACE(prompt.size());
        const std::string name = "input" + std::to_string(prompt.size()) + ".sbp";
        OpenProgram(name, "INPUT \"" + prompt + "\" &a\r\n");
        TSeenBox seen;
        {
            const testsupport::TWhenModalShown<TQtInputBox> answer([&](TQtInputBox& box) {
                seen = {box.windowTitle(), box.Text(), box.frameGeometry(), {}};
                for (const QPushButton* button : box.findChildren<QPushButton*>()) {
                    seen.Buttons.emplace_back(button->mapToGlobal(QPoint(0, 0)), button->size());
                }
                box.Edit().setText("12.5");
                box.Buttons().button(QDialogButtonBox::Ok)->click();
            });
            Run();
        }
        EXPECT_EQ(seen.Caption, FilePath(name));
        EXPECT_EQ(seen.Prompt.toStdString(), prompt);
        EXPECT_TRUE(screen.contains(seen.Frame)) << seen.Frame.width() << " wide on " << screen.width();
        EXPECT_EQ(seen.Buttons.size(), 2u);
        for (const QRect& button : seen.Buttons) {
            EXPECT_TRUE(seen.Frame.contains(button));
        }
        ASSERT_EQ(Window->lbVariables->count(), 1);
        EXPECT_EQ(Window->lbVariables->item(0)->text(), "&a = 12.5");
    }
}

// An answer longer than a line edit takes by default (32,767 characters) reaches the
// variable whole.
TEST_F(InputBoxGui, AnAnswerOfAnyLengthReachesTheVariableWhole)
{
    TQtDialogResponder boxes;
    const TDialogResponderScope scope(&boxes);
    SetSimulate(false);
    for (const int length : {32767, 32768, 100000}) {
        SCOPED_TRACE(length);
        OpenProgram("long" + std::to_string(length) + ".sbp", "INPUT \"Text?\" &a, &b\r\n");
        const QString answer = QString(length, QLatin1Char('w')) + QStringLiteral(",7");
        {
            const testsupport::TWhenModalShown<TQtInputBox> answerBox([&](TQtInputBox& box) {
                box.Edit().setText(answer);
                box.Buttons().button(QDialogButtonBox::Ok)->click();
            });
            Run();
        }
        EXPECT_EQ(Window->Calcul.GetVariables().Values("a"), "\"" + std::string(static_cast<std::size_t>(length), 'W') + "\"");
        EXPECT_EQ(Window->Calcul.GetVariables().Values("b"), "7");
    }
}

} // namespace
