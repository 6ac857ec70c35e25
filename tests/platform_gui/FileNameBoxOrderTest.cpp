// The order in which a file dialog's chosen files come back: as its name box names them.

#include "platform/gui/FileNameBoxOrder.h"

#include <gtest/gtest.h>

namespace {

TEST(FileNameBoxOrder, FilesComeInTheOrderTheBoxNamesThem)
{
    const struct {
        const char* What;
        QStringList Files; // as the dialog's list selected them
        QString Box;
        QStringList Ordered;
    } cases[] = {
        {"two names against the list's order", {"/p/bp.sbp", "/p/square.sbp"}, R"("square.sbp" "bp.sbp")",
         {"/p/square.sbp", "/p/bp.sbp"}},
        {"already in order", {"/p/a.sbp", "/p/b.sbp"}, R"("a.sbp" "b.sbp")", {"/p/a.sbp", "/p/b.sbp"}},
        {"one name without quotes", {"/p/my part.sbp"}, "my part.sbp", {"/p/my part.sbp"}},
        {"a name with a blank between quotes", {"/p/b.sbp", "/p/my part.sbp"}, R"("my part.sbp" "b.sbp")",
         {"/p/my part.sbp", "/p/b.sbp"}},
        {"an absolute name and one in a subfolder", {"/p/sub/c.sbp", "/q/d.sbp"}, R"("/q/d.sbp" "sub/c.sbp")",
         {"/q/d.sbp", "/p/sub/c.sbp"}},
        {"a name through ..", {"/p/a.sbp", "/r/e.sbp"}, R"("../r/e.sbp" "a.sbp")", {"/r/e.sbp", "/p/a.sbp"}},
        // Files the box does not name keep their order after the named ones.
        {"files the box does not name", {"/p/x.sbp", "/p/b.sbp", "/p/y.sbp"}, R"("b.sbp")",
         {"/p/b.sbp", "/p/x.sbp", "/p/y.sbp"}},
        {"a name given twice", {"/p/b.sbp", "/p/a.sbp"}, R"("a.sbp" "a.sbp" "b.sbp")", {"/p/a.sbp", "/p/b.sbp"}},
        {"a last quote missing", {"/p/b.sbp", "/p/a.sbp"}, R"("a.sbp" "b.sbp)", {"/p/a.sbp", "/p/b.sbp"}},
        {"an empty box", {"/p/b.sbp", "/p/a.sbp"}, "", {"/p/b.sbp", "/p/a.sbp"}},
        {"names that name none of them", {"/p/b.sbp"}, R"("z.sbp" "B.SBP")", {"/p/b.sbp"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OrderAsNamedInBox(c.Files, c.Box, "/p"), c.Ordered) << c.What;
    }
}

TEST(FileNameBoxOrder, TheBoxNamesWhatStandsBetweenQuotesElseItsWholeText)
{
    const struct {
        QString Box;
        QStringList Names;
    } cases[] = {
        {"a.sbp", {"a.sbp"}},
        {" a b.sbp ", {" a b.sbp "}},
        {R"("a.sbp" "b.sbp")", {"a.sbp", "b.sbp"}},
        {R"("a.sbp""b.sbp")", {"a.sbp", "b.sbp"}},
        {R"("" "b.sbp")", {"b.sbp"}},
        {R"("a.sbp)", {"a.sbp"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NamesInFileNameBox(c.Box), c.Names) << c.Box.toStdString();
    }
}

} // namespace
