#pragma once
// Splitting a text into fields the way the platform's string lists take delimited
// text: the separator and blanks (any character up to code 32) both end a field; a
// field that starts with a double quote runs to its closing quote, a doubled quote
// inside standing for one; a separator that ends the text adds an empty field.
//
//   [LOADFILE],my page.htm,300,200  ->  "[LOADFILE]", "my", "page.htm", "300", "200"
//   "a ""b""",c,                    ->  "a \"b\"", "c", ""

#include <QChar>
#include <QString>
#include <QStringList>

QStringList SplitDelimitedText(QChar separator, const QString& text);
