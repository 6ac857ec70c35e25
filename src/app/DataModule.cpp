#include "app/DataModule.h"

#include "app/AppPaths.h"
#include "app/DelimitedText.h"
#include "app/MainSettings.h"
#include "app/MainSettingsFile.h"

#include "editor/CodeRuleHighlighter.h"
#include "engine/Keywords.h"
#include "platform/core/Assert.h"
#include "platform/gui/QtModalForm.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <cmath>

Tdm* dm = nullptr;

Tdm::Tdm() : CodeRuleHighlighter1(new TCodeRuleHighlighter(&Components))
{
    CodeRuleHighlighter1->SetName("CodeRuleHighlighter1");
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
    if (dm == this)
        dm = nullptr;
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
