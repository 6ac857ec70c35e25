#pragma once
// What the completion list of code insert items does with a chosen item: an item whose
// value holds "[LOADFILE]" (any letter case) inserts nothing but shows a plug-in page,
// "[LOADFILE],page[,width,height]"; any other value is inserted as it is.

#include <QString>

#include <optional>

struct TLoadFileItem {
    QString FileName;
    int Width = 0;
    int Height = 0;
};

bool IsLoadFileValue(const QString& value);
// The fields of a plug-in item, split as delimited text at ","; nullopt when it names no
// page. A size whose width or height is missing or not a whole number is 0 x 0.
std::optional<TLoadFileItem> ParseLoadFileValue(const QString& value);

// The completion event of the data module's code insert list. A plug-in item empties
// the caret line of the active page, sets `canExecute` false and shows the page through
// the plug-in loader (PlugInLoader.h) once the completion has ended and the list has
// closed (from the installed event loop; at once without one); one that names no page,
// or a shell without a loader, gives an error box then.
void CodeAutoCompleteCodeCompletion(QString& value, bool& canExecute);
