#pragma once
// Where the shell finds its files: the executable's folder, which KERFPAD_APP_DIR
// replaces when set (tests and portable set-ups point it elsewhere), and the files
// that live there.

#include <QString>

// The folder, without a closing separator.
QString AppDir();
// <folder>/<executable name without extension>.ini, the main settings file.
QString MainSettingsFileName();
// <folder>/log.txt, the debug log.
QString LogFileName();
// The file of that name in the folder, found without regard to letter case (exact name
// first); empty when there is none.
QString FindAppFile(const QString& name);

inline const QString CommandsFileTitle = QStringLiteral("commands.ini");
inline const QString TipsFileTitle = QStringLiteral("tips.ini");
