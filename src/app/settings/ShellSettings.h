#pragma once
// The main window's own reading and writing of the main settings file ([Main] and
// [MRUFiles]) and of commands.ini, with their debug-log lines. The window is not built
// yet: the values of [Main] travel in a TMainSettings record that the window applies at
// start-up and fills at shut-down.

#include "app/settings/MainSettings.h"

class Tdm;
class TCommandHints;

// Logs "ReadIniSettings"; with tips.ini beside the executable, loads the tips and
// restores their two settings, else turns the tips off at start-up; reads [Main] into
// `settings`; puts MRUFile10 .. MRUFile1 at the head of the recent files, so MRUFile1
// ends first.
void ReadIniSettings(Tdm& dm, TMainSettings& settings);
// Logs "WriteIniSettings"; writes [Main] from `settings`, and MRUFile1 .. MRUFile10
// from the recent files, deleting the keys past the last file. Raises a file error
// (EStreamError) naming the file when it cannot be written, or could not be read: such
// a file is left alone.
void WriteIniSettings(Tdm& dm, const TMainSettings& settings);
// Logs "ReadCommands"; loads commands.ini from beside the executable when it is there.
void ReadCommands(Tdm& dm, TCommandHints& hints);
