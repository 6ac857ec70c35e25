#pragma once
// The kinds, options and events of the completion list.

#include "editor/control/CodeEnumSet.h"
#include "platform/core/graphics/Canvas.h"
#include "platform/core/objects/Object.h"
#include "platform/core/services/VirtualKeys.h"

#include <QChar>
#include <QString>

#include <functional>

// A selectable list, a read-only hint box, a parameter hint that stays on top.
enum CodeCompletionType : std::uint8_t { ctCode, ctHint, ctParams };

enum TCodeCompletionOption : std::uint8_t {
    scoAnsiStrings,        // compare by the locale's case folding instead of ASCII's
    scoCaseSensitive,      // leave the typed filter unfolded
    scoLimitToMatchedText, // show only the matching items
    scoTitleIsCentered,
    scoUseInsertList,      // insert the parallel insert-list text
    scoUsePrettyText,      // items carry formatting codes
    scoUseBuiltInTimer,    // a timer opens the list after a trigger character
    scoEndCharCompletion,  // an end-of-token character also inserts the selected item
};
using TCodeCompletionOptions = TEnumSet<TCodeCompletionOption>;

using TCompletionNotify = std::function<void(TObject* sender)>;
using TCompletionKeyPress = std::function<void(TObject* sender, QChar& key)>;
using TCompletionValidate = std::function<void(TObject* sender, TShiftState shift, QChar endToken)>;
using TCompletionChange = std::function<void(TObject* sender, int index)>;
using TCodeBaseCompletionProposalPaintItem =
    std::function<void(int index, TCanvas& canvas, const TRect& rect, bool& customDraw)>;
// Asked for a trigger character of a parameter hint: may change the level, the index to
// show, the key and the text shown.
using TCompletionParameter = std::function<void(TObject* sender, int currentIndex, int& level, int& indexToDisplay,
                                                QChar& key, QString& displayString)>;
// May change the text, the screen point and whether the list opens.
using TCompletionExecute = std::function<void(CodeCompletionType kind, TObject* sender, QString& currentInput, int& x,
                                              int& y, bool& canExecute)>;
using TCodeCompletionEvent =
    std::function<void(QString& value, TShiftState shift, int index, QChar endToken, bool& canExecute)>;
using TAfterCodeCompletionEvent =
    std::function<void(const QString& value, TShiftState shift, int index, QChar endToken)>;
