#include "app/settings/ShellSettings.h"

#include "app/shell/CommandHints.h"
#include "app/shell/DataModule.h"
#include "app/settings/MainSettingsFile.h"
#include "app/shell/TextFileLines.h"

namespace {
const QString Debug = QStringLiteral("debug");
}

void ReadIniSettings(Tdm& dm, TMainSettings& settings)
{
    dm.Log(Debug, QStringLiteral("ReadIniSettings"));
    const TIniFile ini = OpenMainSettings();

    const QString tipsFile = FindAppFile(TipsFileTitle);
    QStringList tips;
    if (!tipsFile.isEmpty() && ReadTextFileLines(tipsFile, tips)) {
        dm.Tips1.SetTips(tips);
        dm.Tips1.ShowOnStartup = ini.ReadBool(MainSection, "ShowTipsOnStartup", true);
        dm.Tips1.SetCurrentTip(ini.ReadInteger(MainSection, "CurrentTip", 0));
    } else {
        dm.Tips1.ShowOnStartup = false;
    }

    settings.Read(ini);

    for (int n = RecentFileKeys; n >= 1; --n)
        dm.AddMRUFile(QString::fromStdString(ini.ReadString(RecentFilesSection, RecentFileKey(n), {})));
}

void WriteIniSettings(Tdm& dm, const TMainSettings& settings)
{
    dm.Log(Debug, QStringLiteral("WriteIniSettings"));
    UpdateMainSettings([&](TIniFile& ini) {
        settings.Write(ini);
        for (int n = 1; n <= RecentFileKeys; ++n) {
            if (n - 1 < dm.GetMRUFileCount())
                ini.WriteString(RecentFilesSection, RecentFileKey(n), dm.GetMRUFile(n - 1).toStdString());
            else
                ini.DeleteKey(RecentFilesSection, RecentFileKey(n));
        }
    });
}

void ReadCommands(Tdm& dm, TCommandHints& hints)
{
    dm.Log(Debug, QStringLiteral("ReadCommands"));
    const QString file = FindAppFile(CommandsFileTitle);
    if (!file.isEmpty())
        hints.LoadFromFile(file);
}
