#pragma once
// What the editor options dialog owns and the editor pages read: the editor and print
// settings and the values of the code insert items. The data module keeps them for the
// program's run; the dialog and the code insert file fill them.

#include "app/settings/EditorSettings.h"

#include <QString>
#include <QStringList>

struct TEditorOptionsData {
    TEditorSettings EditorSettings;
    TPrintSettings PrintSettings;
    // One value per code insert item, its line breaks as CR LF.
    QStringList CodeInsertValues;

    // The value of item `index` with every CR LF written as "~"; false when no item has
    // that index.
    bool GetCodeInsertValue(int index, QString& value) const
    {
        if (index < 0 || index >= CodeInsertValues.size()) {
            return false;
        }
        value = QString(CodeInsertValues[index]).replace(QStringLiteral("\r\n"), QStringLiteral("~"));
        return true;
    }
};
