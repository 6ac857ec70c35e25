#pragma once
// What the shell's tests share: a folder of their own that stands in for the
// executable's folder (KERFPAD_APP_DIR), a clock fixed at 2024-03-07 09:05:03, an
// in-memory registry, scripted dialogs that fail the test on any box they were not
// told to expect, and a fresh data module.

#include "app/shell/AppPaths.h"
#include "app/shell/DataModule.h"

#include "platform/core/files/IniFile.h"
#include "platform/core/files/Registry.h"

#include "../support/FixedClock.h"
#include "../support/ScriptedDialogs.h"
#include "../support/TempFolderTest.h"

#include <QFileInfo>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

class TAppTest : public testsupport::TTempFolderTest {
protected:
    TAppTest()
    {
        if (const char* previous = std::getenv("KERFPAD_APP_DIR"))
            FPreviousAppDir = previous;
        ::setenv("KERFPAD_APP_DIR", folder.c_str(), 1);
        Clock.Now = 45358.37850694444;
    }
    ~TAppTest() override
    {
        EXPECT_TRUE(Dialogs.AllAnswered()) << "a scripted dialog was never shown";
        if (FPreviousAppDir)
            ::setenv("KERFPAD_APP_DIR", FPreviousAppDir->c_str(), 1);
        else
            ::unsetenv("KERFPAD_APP_DIR");
    }

    std::string SettingsPath() const { return MainSettingsFileName().toStdString(); }
    TIniFile Settings() const { return TIniFile(SettingsPath()); }
    void WriteSettings(const std::string& text) const { WriteText(SettingsTitle(), text); }
    std::string ReadSettings() const { return ReadText(SettingsTitle()); }
    static std::string SettingsTitle() { return QFileInfo(MainSettingsFileName()).fileName().toStdString(); }
    // "key=value" lines of a section of the settings file, in file order.
    std::vector<std::string> SectionLines(const char* section) const { return Settings().ReadSectionValues(section); }

    TFixedClock Clock;
    TScriptedDialogs Dialogs;
    TMemoryRegistryStore Registry;
    Tdm Dm;

private:
    std::optional<std::string> FPreviousAppDir;
    TClockSourceScope FClockScope{&Clock};
    TDialogResponderScope FDialogScope{&Dialogs};
    TRegistryStoreScope FRegistryScope{&Registry};
};
