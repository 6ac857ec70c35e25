#pragma once
// Fixtures of the plug-in and automation tests: editor pages as in the page tests, the
// data module's log opened in the test's folder, and a simulator installed in the data
// module's slots, as the main window's TMove is.

#include "app/plugins/PlugInsForm.h"

#include "ShellTestSupport.h"

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>
#include <string>
#include <vector>

// The texts of a debug log without the time in front ("debug: PlugIns.FormCreate").
inline std::vector<std::string> LogTextsOf(const std::string& text)
{
    std::vector<std::string> texts;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        texts.push_back(line.substr(line.find(' ', line.find(' ') + 1) + 1));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return texts;
}

// A line of `texts` that starts with `prefix`, or empty.
inline std::string FirstStartingWith(const std::vector<std::string>& texts, const std::string& prefix)
{
    const auto found = std::find_if(texts.begin(), texts.end(),
                                    [&](const std::string& line) { return line.starts_with(prefix); });
    return found == texts.end() ? std::string() : *found;
}

class TPlugInTest : public TPageTest {
protected:
    TPlugInTest() { Dm.OpenLog(); }

    std::vector<std::string> LogTexts() const { return LogTextsOf(ReadText("log.txt")); }
    bool Logged(const std::string& line) const
    {
        const std::vector<std::string> texts = LogTexts();
        return std::find(texts.begin(), texts.end(), line) != texts.end();
    }
    // Windows freed with deleteLater go now.
    static void FreeLaterDeleted() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    std::size_t CutPolylines() const { return Move.CutLines().size(); }
    TVector Position() const
    {
        TVector p;
        Move.GetPosition(p);
        return p;
    }

    TCalcul Calcul;
    TFakeShell Shell;
    TMove Move{Dm.Engine, Calcul, Shell};
};
