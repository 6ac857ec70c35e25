#pragma once
// Scans lines the way the editor does (the state after each line is kept as an int and
// handed back before the next) and renders each line's tokens as "[text]Attribute".
// On the way it checks what the painter relies on: tokens are not empty, follow each
// other without gaps and cover the whole line.

#include "editor/highlighting/CodeCustomHighlighter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline std::string ScanOneLine(TCodeCustomHighlighter& h, const QString& line, int lineNumber = 0)
{
    std::string out;
    h.SetLine(line, lineNumber);
    int expectedPos = 0;
    for (int guard = 0; !h.GetEol(); ++guard) {
        if (guard > line.size()) {
            ADD_FAILURE() << "no end of line: " << line.toStdString();
            break;
        }
        const QStringView token = h.GetToken();
        EXPECT_EQ(h.GetTokenPos(), expectedPos) << line.toStdString();
        EXPECT_FALSE(token.isEmpty()) << line.toStdString();
        EXPECT_EQ(token, QStringView(line).mid(h.GetTokenPos(), token.size()));
        const TCodeHighlighterAttributes* attribute = h.GetTokenAttribute();
        out += "[" + token.toString().toStdString() + "]" +
               (attribute ? attribute->Name().toStdString() : std::string("(none)"));
        expectedPos = h.GetTokenPos() + static_cast<int>(token.size());
        h.Next();
    }
    EXPECT_EQ(expectedPos, line.size()) << line.toStdString();
    EXPECT_EQ(h.GetTokenAttribute(), nullptr) << "the end of the line has no attribute";
    return out;
}

// Lines scanned in order from a reset state; `ranges` receives the state after each line.
inline std::vector<std::string> ScanLines(TCodeCustomHighlighter& h, const std::vector<QString>& lines,
                                          std::vector<int>* ranges = nullptr)
{
    std::vector<std::string> out;
    h.ResetRange();
    int range = h.GetRange();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        h.SetRange(range);
        out.push_back(ScanOneLine(h, lines[i], static_cast<int>(i)));
        range = h.GetRange();
        if (ranges) {
            ranges->push_back(range);
        }
    }
    return out;
}

// A table row: lines and the tokens expected on each.
struct TScanCase {
    std::vector<QString> lines;
    std::vector<std::string> tokens;
};

inline void ExpectScans(TCodeCustomHighlighter& h, const TScanCase& c)
{
    EXPECT_EQ(ScanLines(h, c.lines), c.tokens) << "first line: " << c.lines.front().toStdString();
}

// Another IDE's colours for each entry under `key` (current user), in the split form:
// palette indexes and flag strings.
inline void WriteIDEColors(IRegistryStore& store, const std::string& key, const std::vector<const char*>& entries,
                           int foreground, int background, const char* bold)
{
    for (const char* entry : entries) {
        const std::string path = key + "\\" + entry;
        const std::pair<const char*, TRegistryValue> values[] = {
            {"Foreground Color", foreground},  {"Background Color", background},
            {"Bold", std::string(bold)},       {"Italic", std::string("False")},
            {"Underline", std::string("0")},   {"Default Foreground", std::string("False")},
            {"Default Background", std::string("0")},
        };
        for (const auto& [name, value] : values) {
            ASSERT_TRUE(store.WriteValue(TRegistryRoot::CurrentUser, path, name, value));
        }
    }
}
