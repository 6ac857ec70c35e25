#pragma once
// The variables list under the editor pages: the rows of a QListWidget as the engine's
// variables view changes them, each entry one line, cut for display (see ShownText).

#include "engine/VariablesView.h"

#include <QString>

#include <string_view>

class QListWidget;

// The entry of one row text: "&name = value" on one line (a line break left in the
// row shows as its symbol, LF as U+240A, CR as U+240D), a long one cut.
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
