#pragma once
// Long texts in Qt's widgets: what a message box or a list shows of a text that may be
// millions of characters long (see platform/core/text/ShownText.h).

#include "platform/core/text/ShownText.h"

#include <QString>

// The text itself when it is no longer than MaxShownTextLength or its cut would not be
// shorter, else its start and its end around a note of what was left out.
QString ShownText(const QString& text);

// Where ShownText cuts the text (see platform/core/text/ShownText.h).
TShownTextCut ShownTextCut(const QString& text);
