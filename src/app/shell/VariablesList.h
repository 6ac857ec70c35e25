#pragma once
// The variables list under the editor pages: the rows of a QListWidget as the engine's
// variables view changes them, each entry one line, cut for display (see ShownText); a
// row copied gives its entry whole.

#include "engine/VariablesView.h"

#include <QListWidget>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The entry of one row text (VariablesListEntry: "&name = value", only the first "="
// widened) on one line (a line break left in the row shows as its symbol, LF as U+240A,
// CR as U+240D), a long one cut.
QString VariablesListItem(std::string_view rowText);

class TVariablesListRows final : public IVariablesRows {
public:
    explicit TVariablesListRows(QListWidget& list) : FList(list) {}
    int RowCount() const override;
    void ClearRows() override;
    void InsertRow(int row, std::string_view text) override;
    void SetRow(int row, std::string_view text) override;
    void DeleteRow(int row) override;

private:
    QListWidget& FList;
};

// The list widget: a copy (Ctrl+C, Ctrl+Insert) puts the current row's entry on the
// clipboard whole and as the variables hold it (VariablesListEntry: not cut, its line
// breaks as they are), not the text the row shows.
class TVariablesListBox final : public QListWidget {
public:
    using QListWidget::QListWidget;

    // The current row's whole entry, none without one (set by the list's owner).
    std::function<std::optional<std::string>()> CurrentRowEntry;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
