#pragma once
// What a command carries besides its number and character: nothing, a text position
// (go to a point, set a bookmark there) or a text (an input-method string). A value,
// so nobody has to free it after the dispatch.

#include "editor/document/CodeEditMiscProcs.h"

#include <QString>

#include <variant>

using TCodeEditCommandData = std::variant<std::monostate, TTextPoint, QString>;

inline const TTextPoint* CommandPoint(const TCodeEditCommandData& data) { return std::get_if<TTextPoint>(&data); }
inline const QString* CommandText(const TCodeEditCommandData& data) { return std::get_if<QString>(&data); }
