#include "app/settings/HighlightRulesFile.h"

#include "app/shell/AppPaths.h"
#include "app/settings/CheckedIniReader.h"
#include "app/shell/DataModule.h"
#include "app/settings/MainSettingsFile.h"
#include "app/settings/SyntaxRules.h"

#include "editor/highlighting/CodeRuleHighlighter.h"
#include "platform/core/services/DialogService.h"

#include <optional>

void ReadCodeHigh(Tdm& dm, const TIniFile& settings)
{
    dm.Log(QStringLiteral("debug"), QStringLiteral("ReadCodeHigh"));
    TCodeRange& root = *dm.CodeRuleHighlighter1->RootRange();
    root.Unprepare();
    root.SetCaseSensitive(false);

    std::optional<TIniFile> shipped;
    const TIniFile* source = &settings;
    if (!settings.SectionExists(SyntaxHighlightSection)) {
        const QString file = FindAppFile(DefaultHighlightingFileTitle);
        if (file.isEmpty()) {
            return;
        }
        source = &shipped.emplace(file.toStdString());
    }
    TSyntaxRules rules;
    try {
        rules = ReadSyntaxRules(*source);
    } catch (const EBadSettingsFile& e) {
        dm.Log(QStringLiteral("error"), QString::fromStdString(e.Message()));
        ShowErrorBox(e.Message());
        return;
    }
    AddSyntaxRules(root, rules);
    dm.CodeRuleHighlighter1->NotifyChange();
}

void WriteSyntaxHighlight(const TCodeRange& root)
{
    const TSyntaxRules rules = SyntaxRulesOf(root);
    UpdateMainSettings([&](TIniFile& ini) { WriteSyntaxRules(ini, rules); });
}
