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

void TVariablesListRows::ClearRows()
{
    FList.clear();
}

void TVariablesListRows::InsertRow(int row, std::string_view text)
{
    FList.insertItem(row, VariablesListItem(text));
}

void TVariablesListRows::SetRow(int row, std::string_view text)
{
    if (QListWidgetItem* item = FList.item(row)) {
        item->setText(VariablesListItem(text));
    }
}

void TVariablesListRows::DeleteRow(int row)
{
    delete FList.takeItem(row);
}
