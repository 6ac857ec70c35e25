#pragma once
// The files a file dialog hands back, in the order its name box names them. Qt's dialog
// answers the rows selected in its list, in the order each became selected, and selects
// a typed name once it is whole and listed: a name listed after the user typed it (the
// folder still being read), or typed before one already selected, came first, so
// "square.sbp" "bp.sbp" opened bp.sbp first and showed square.sbp.

#include <QString>
#include <QStringList>

// The names in the box as the dialog reads them: without a double quote the whole text
// is one name; with them each quoted part is one ("a.sbp" "b c.sbp").
QStringList NamesInFileNameBox(const QString& text);

// `files` (full paths) reordered as the box names them, each name taken against
// `directory` unless it is absolute; files the box does not name follow in their order.
QStringList OrderAsNamedInBox(const QStringList& files, const QString& boxText, const QString& directory);
