#include "app/shell/DataModule.h"

#include "app/shell/AppPaths.h"
#include "app/shell/DelimitedText.h"
#include "app/settings/MainSettings.h"
#include "app/settings/MainSettingsFile.h"

#include "app/settings/CodeInsertCompletion.h"

#include "editor/completion/CodeCompletionProposal.h"
#include "editor/printing/CodeEditPrint.h"
#include "editor/highlighting/CodeRuleHighlighter.h"
#include "editor/widget/CodeCompletionPopup.h"
#include "engine/Keywords.h"
#include "platform/core/Assert.h"
#include "platform/gui/QtModalForm.h"
#include "platform/gui/QtPrinter.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <cmath>

Tdm* dm = nullptr;

namespace {

// The selection colour of the code insert list.
constexpr TColor clSkyBlue = RGB(0xA6, 0xCA, 0xF0);

void SetUpCodeEditPrint(TCodeEditPrint& print, TCodeRuleHighlighter* highlighter)
{
    print.Copies = 1;
    for (THeaderFooter* part : std::initializer_list<THeaderFooter*>{&print.Header(), &print.Footer()}) {
        TFont& font = part->DefaultFont();
        font.SetName("Arial");
        font.SetHeight(13);
        font.SetColor(clBlack);
    }
    TCodeEditPrintMargins& margins = print.Margins();
    margins.SetLeft(20.0);
    margins.SetRight(20.0);
    margins.SetTop(20.0);
    margins.SetBottom(20.0);
    margins.SetHeader(15.0);
    margins.SetFooter(15.0);
    margins.SetLeftHFTextIndent(2.0);
    margins.SetRightHFTextIndent(2.0);
    margins.SetHFInternalMargin(0.5);
    margins.SetMirrorMargins(false);
    print.Colors = true;
    print.SetHighlighter(highlighter);
    print.SetLineNumbersInMargin(true);
    print.SetTabWidth(8);
    print.Color = clWhite;
}

void SetUpCodeAutoComplete(TCodeCompletionProposal& list)
{
    list.SetDefaultType(ctCode);
    list.SetOptions({scoLimitToMatchedText, scoUseInsertList, scoUsePrettyText});
    list.SetNbLinesInWindow(8);
    TCodeBaseCompletionProposalForm& form = list.Form();
    form.ClSelect = clSkyBlue;
    form.ClSelectedText = clBlack;
    form.ClBackground = clWindow;
    form.ClTitleBackground = clLime;
    form.SetTitle(QStringLiteral("Code Insert"));
    list.SetWidth(262);
    list.SetEndOfTokenChr(QStringLiteral("()[]. "));
    list.SetTriggerChars(QStringLiteral("."));
    list.ShortCut = ShortCut(VK_SPACE, TShiftState(TShiftState::ssCtrl));
    list.SetTimerInterval(1000);
    list.OnCodeCompletion = [&list](QString& value, TShiftState, int, QChar, bool& canExecute) {
        CodeAutoCompleteCodeCompletion(value, canExecute);
        // The list closes after a plug-in item as after an inserted one.
        if (!canExecute) {
            list.Form().Hide();
        }
    };
}

} // namespace

Tdm::Tdm()
    : CodeRuleHighlighter1(new TCodeRuleHighlighter(&Components)), CodeEditPrint(new TCodeEditPrint(&Components)),
      CodeAutoComplete(new TCodeCompletionProposal(&Components))
{
    CodeRuleHighlighter1->SetName("CodeRuleHighlighter1");
    CodeEditPrint->SetName("CodeEditPrint");
    SetUpCodeEditPrint(*CodeEditPrint, CodeRuleHighlighter1);
    CodeAutoComplete->SetName("CodeAutoComplete");
    SetUpCodeAutoComplete(*CodeAutoComplete);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        FCompletionPopup = std::make_unique<TCodeCompletionPopup>(CodeAutoComplete->Form());
    }
    CollectHighlighters(&Components, Highlighters, false);
    for (int i = 1; i <= KeywordCount; ++i) {
        FKeywords.insert(QString::fromStdString(Engine.Keyword(i)).toUpper());
    }
    FKeywords.insert(QString::fromStdString(Engine.ClampKeyword()).toUpper());

    dlgFileOpen.Filter = "ShopbotFiles (*.sbp)|*.sbp";
    dlgFileSave.Filter = "Shopbot Files (*.sbp)|*.sbp";
    dlgFileSave.DefaultExt = "sbp";

    Tips1.SetGlyphStyle(TGlyphStyle::gsLightBulb);
    Tips1.ShowOnStartup = true;
    Tips1.SetTips({QStringLiteral("Tips")});
    Tips1.SetCurrentTip(-1);
    Tips1.UseRegistry = false;
    Tips1.OnCloseDialog = [this] { Tips1CloseDialog(); };
    Tips1.Loaded();
}

Tdm::~Tdm()
{
    // The window goes before the list it shows.
    FCompletionPopup.reset();
    if (dm == this)
        dm = nullptr;
}

std::optional<std::string> Tdm::RunFileResults(const QString& fileName) const
{
    if (!FOnRunFileResults) {
        throw Exception("Cannot run the file " + fileName.toStdString() + ": no results run is installed");
    }
    return FOnRunFileResults(fileName);
}

bool Tdm::IsKnownCommand(const QString& word) const
{
    return FKeywords.contains(word.toUpper());
}

QPrinter& Tdm::Printer()
{
    if (!FPrinter)
        FPrinter = std::make_unique<QPrinter>();
    return *FPrinter;
}

bool Tdm::ExecutePrinterSetup()
{
    QPrintDialog dialog(&Printer(), QApplication::activeWindow());
    return ShowModalDialog(dialog, "PrinterSetup") == TModalResult::mrOk;
}

IPrinter& Tdm::PlatformPrinter()
{
    if (!FPlatformPrinter)
        FPlatformPrinter = std::make_unique<TQtPrinter>(Printer());
    return *FPlatformPrinter;
}

void Tdm::OpenLog()
{
    FLog.Open(LogFileName());
    Log(QStringLiteral("debug"), QStringLiteral("Log file opened"));
}

void Tdm::Log(const QString& tag, const QString& text)
{
    FLog.Write(tag, text);
}

void Tdm::CloseLog()
{
    Log(QStringLiteral("debug"), QStringLiteral("Closing log file"));
    FLog.Close();
}

bool Tdm::ExecuteSaveDialog(QString& fileName)
{
    TFileDialogOptions options = dlgFileSave;
    if (!fileName.isEmpty()) {
        const QFileInfo file(fileName);
        options.InitialDir = file.absolutePath().toStdString();
        options.FileName = file.fileName().toStdString();
    }
    std::string chosen;
    if (!RunSaveDialog(options, chosen))
        return false;
    fileName = QString::fromStdString(chosen);
    return true;
}

bool Tdm::ExecuteOpenDialog(QStringList& fileNames)
{
    std::vector<std::string> chosen;
    if (!RunOpenDialog(dlgFileOpen, true, chosen))
        return false;
    fileNames.clear();
    for (const auto& name : chosen)
        fileNames << QString::fromStdString(name);
    return true;
}

void Tdm::SplitText(QChar separator, const QString& text, QStringList* list) const
{
    if (list == nullptr)
        kerfpad_detail::FailAssertion("Assertion failure", "dmCommands", 269);
    *list = SplitDelimitedText(separator, text);
}

QString Tdm::StatusPositionText(double x, double y, double z)
{
    const QLocale locale;
    const auto number = [&](double value) {
        // The engine's words for what no digits can say.
        if (std::isnan(value))
            return QStringLiteral("NAN");
        if (std::isinf(value))
            return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
        // Fifteen significant digits at most; decimals past them show as zeros.
        const double whole = std::floor(std::fabs(value));
        const int integerDigits = whole < 1 ? 1 : static_cast<int>(std::floor(std::log10(whole))) + 1;
        const int decimals = std::clamp(15 - integerDigits, 0, 5);
        QString text = locale.toString(value, 'f', decimals);
        if (decimals == 0)
            text += locale.decimalPoint();
        return text + QString(5 - decimals, QLatin1Char('0'));
    };
    return QStringLiteral("X: ") + number(x) + QStringLiteral("    Y: ") + number(y) + QStringLiteral("    Z: ") +
           number(z);
}

void Tdm::Tips1CloseDialog()
{
    try {
        UpdateMainSettings([this](TIniFile& ini) {
            ini.WriteBool(MainSection, "ShowTipsOnStartup", Tips1.ShowOnStartup);
            ini.WriteInteger(MainSection, "CurrentTip", Tips1.CurrentTip() + 1);
        });
    } catch (const Exception& e) {
        Log(QStringLiteral("error"), QString::fromStdString(e.Message()));
        ShowErrorBox(e.Message());
    }
}
