#include "app/shell/VariablesList.h"

#include "platform/gui/QtShownText.h"

#include <QListWidget>

QString VariablesListItem(std::string_view rowText)
{
    QString entry = QString::fromUtf8(rowText.data(), static_cast<qsizetype>(rowText.size()));
    entry.replace(QLatin1Char('='), QLatin1String(" = "));
    return ShownText(QLatin1Char('&') + entry);
}

int TVariablesListRows::RowCount() const
{
    return FList.count();
}

namespace {
// Rows of one text line are all as high as the first: the list then lays out its rows
// without measuring each, which with 100,000 rows took longer than the run itself.
// A row holding a line break is taller, and the list measures every row again until
// it is cleared.
void KeepRowsUniform(QListWidget& list, std::string_view text)
{
    if (list.uniformItemSizes() && text.find_first_of("\r\n") != std::string_view::npos) {
        list.setUniformItemSizes(false);
    }
}
} // namespace

void TVariablesListRows::ClearRows()
{
    FList.clear();
    FList.setUniformItemSizes(true);
}

void TVariablesListRows::InsertRow(int row, std::string_view text)
{
    KeepRowsUniform(FList, text);
    FList.insertItem(row, VariablesListItem(text));
}

void TVariablesListRows::SetRow(int row, std::string_view text)
{
    if (QListWidgetItem* item = FList.item(row)) {
        KeepRowsUniform(FList, text);
        item->setText(VariablesListItem(text));
    }
}

void TVariablesListRows::DeleteRow(int row)
{
    delete FList.takeItem(row);
}
