// The editor widget on a highlighted part program: line numbers, a bookmark, a line
// coloured as a breakpoint, a selection and, with --special, the marks for blanks, tabs
// and line ends. Ctrl+Space opens a code insert list; files dropped on it are named on
// standard output. --lines <n> appends n numbered moves (for scrolling); --shot
// <file.png> saves what the window shows and ends the demo; --quit-after <ms> ends it
// by itself.

#include "../support/PartProgramRules.h"

#include "editor/painting/CodeBookmarkGlyphs.h"
#include "editor/completion/CodeCompletionProposal.h"
#include "editor/widget/CodeCompletionPopup.h"
#include "editor/widget/CodeEditWidget.h"
#include "platform/gui/QImageBitmap.h"
#include "platform/gui/QtCanvas.h"
#include "platform/gui/QtClipboard.h"

#include <QApplication>
#include <QMainWindow>
#include <QPixmap>
#include <QTimer>

#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {
const char* const kProgram =
    "' Pocket and profile for a sign blank\n"
    "&depth = 0.25\n"
    "&passes = 3\n"
    "MS,2.5,1.0\n"
    "JZ,0.5\n"
    "J2,1.0,1.0\n"
    "FOR_PASS:\n"
    "  MZ,-&depth / &passes\n"
    "  M2,11.0,1.0\n"
    "  M2,11.0,7.0\n"
    "\tM2,1.0,7.0\t' back along the top\n"
    "  M2,1.0,1.0\n"
    "  IF &passes > 1 THEN GOTO FOR_PASS\n"
    "CG,2.0,6.0,4.0,1.0,0.0,T,1\n"
    "JZ,0.5\n"
    "PRINT \"Done: \"; &passes\n"
    "END\n";
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InstallQtGraphics();
    InstallQtMeasuringCanvas();
    InstallCodeEditInternalImages();
    InstallQtClipboard();

    QMainWindow window;
    window.setWindowTitle("Kerfpad editor demo");
    auto* widget = new TCodeEditWidget(&window);
    window.setCentralWidget(widget);
    window.resize(760, 420);

    TCodeEdit& editor = widget->Editor();
    TCodeRuleHighlighter highlighter;
    BuildPartProgramRules(highlighter);
    editor.SetHighlighter(&highlighter);
    editor.Gutter().SetShowLineNumbers(true);
    editor.Lines().SetText(QString::fromUtf8(kProgram));
    auto mark = std::make_unique<TCodeEditMark>(&editor);
    mark->SetLine(4);
    mark->SetImage(1);
    mark->SetBookmarkNumber(1);
    mark->SetInternalImage(true);
    mark->SetVisible(true);
    editor.Marks().Add(std::move(mark));
    editor.OnSpecialLineColors = [](TObject*, int line, bool& special, TColor& fg, TColor& bg) {
        if (line == 9) {
            special = true;
            fg = clWhite;
            bg = clRed;
        }
    };
    editor.SetBlockBegin(TTextPoint{5, 12});
    editor.SetBlockEnd(TTextPoint{9, 13});
    editor.SetOptions(editor.Options().With(eoDropFiles));
    editor.OnDropFiles = [](TObject*, int x, int y, const QStringList& files) {
        std::printf("dropped at %d,%d: %s\n", x, y, files.join(QLatin1String(", ")).toLocal8Bit().constData());
        std::fflush(stdout);
    };

    TCodeCompletionProposal codeInsert;
    TCodeCompletionPopup popup(codeInsert.Form());
    codeInsert.SetOptions({scoLimitToMatchedText, scoUseInsertList, scoUsePrettyText, scoEndCharCompletion});
    codeInsert.SetNbLinesInWindow(8);
    codeInsert.Form().SetTitle(QStringLiteral("Code Insert"));
    codeInsert.Form().ClTitleBackground = clLime;
    codeInsert.Form().ClSelect = RGB(166, 202, 240);
    codeInsert.Form().ClSelectedText = clBlack;
    const char* const items[][2] = {{"\tJ2\tjog in x and y", "J2,"},   {"\tJZ\tjog in z", "JZ,"},
                                    {"\tM2\tmove in x and y", "M2,"},  {"\tM3\tmove in x, y and z", "M3,"},
                                    {"\tMS\tmove speeds", "MS,"},      {"\tCG\tcircle", "CG,"},
                                    {"\tPAUSE\twait for the user", "PAUSE"}, {"\tEND\tend of the program", "END"}};
    for (const auto& item : items) {
        codeInsert.AddItem(QString::fromUtf8(item[0]), QString::fromUtf8(item[1]));
    }
    codeInsert.AddEditor(&editor);

    const char* shot = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--special") == 0) {
            editor.SetOptions(editor.Options().With(eoShowSpecialChars));
        } else if (std::strcmp(argv[i], "--lines") == 0 && i + 1 < argc) {
            const int count = std::atoi(argv[++i]);
            for (int n = 1; n <= count; ++n) {
                editor.Lines().Add(QStringLiteral("M2,%1.5,%2.25 ' pass %3").arg(n % 40).arg(n % 17).arg(n));
            }
        } else if (std::strcmp(argv[i], "--shot") == 0 && i + 1 < argc) {
            shot = argv[++i];
        } else if (std::strcmp(argv[i], "--quit-after") == 0 && i + 1 < argc) {
            QTimer::singleShot(std::atoi(argv[++i]), &app, &QApplication::quit);
        }
    }
    window.show();
    if (shot) {
        QTimer::singleShot(300, &app, [&] {
            window.grab().save(QString::fromLocal8Bit(shot));
            app.quit();
        });
    }
    const int result = app.exec();
    editor.SetHighlighter(nullptr);
    return result;
}
