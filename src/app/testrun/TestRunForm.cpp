#include "app/testrun/TestRunForm.h"

#include "app/shell/AppPaths.h"
#include "app/shell/DataModule.h"
#include "app/shell/MainForm.h"
#include "app/run/RunWindows.h"
#include "app/testrun/TestRunRules.h"

#include "platform/core/services/EventLoop.h"
#include "platform/gui/ActionList.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

TFTestRun* FTestRun = nullptr;

namespace {
constexpr int StatusColumn = 2;
constexpr int ColumnWidths[] = {24, 295, 73};

QColor CellColor(TColor color)
{
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

// The "#" column's width: its shipped 24 pixels, or what the largest of `rows` numbers
// needs, so that Run All over thousands of programs shows "1000", not "1…": a cell's
// text has the style's item margin on each side and the grid line after it.
int NumberColumnWidth(const QTableWidget& grid, int rows)
{
    const QFontMetrics metrics(grid.font());
    int digit = 0;
    for (char16_t c = u'0'; c <= u'9'; ++c) {
        digit = std::max(digit, metrics.horizontalAdvance(QChar(c)));
    }
    const int margin = grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
    const int text = static_cast<int>(QString::number(rows).size()) * digit;
    return std::max(ColumnWidths[0], text + 2 * margin + (grid.showGrid() ? 1 : 0));
}
} // namespace

void TStatusCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    const std::optional<TColor> fill = StatusCellColor(text.toStdString());
    if (index.column() != StatusColumn || !fill) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    painter->save();
    painter->fillRect(option.rect, CellColor(*fill));
    painter->setPen(Qt::black);
    painter->setFont(option.font);
    const QRect textRect = option.rect.adjusted(2, 2, 0, 0);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter->restore();
}

TFTestRun::TFTestRun(TMainForm& main) : QWidget(&main, Qt::Window), FMain(main)
{
    setObjectName(QStringLiteral("FTestRun"));
    setWindowTitle(QStringLiteral("Testing"));
    setFixedSize(460, 570);

    Grid = new QTableWidget(1, 3, this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setHorizontalHeaderLabels({QStringLiteral("#"), QStringLiteral("Test"), QStringLiteral("Pass/Fail")});
    Grid->verticalHeader()->hide();
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->horizontalHeader()->setMinimumSectionSize(0);
    for (int column = 0; column < 3; ++column) {
        Grid->setColumnWidth(column, ColumnWidths[column]);
    }
    Grid->setItemDelegateForColumn(StatusColumn, new TStatusCellDelegate(Grid));

    ButtonRun = new QPushButton(QStringLiteral("Run All Tests"), this);
    ButtonRun->setObjectName(QStringLiteral("ButtonRun"));
    BitBtn1 = new QPushButton(QStringLiteral("Create Result File"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    connect(ButtonRun, &QPushButton::clicked, this, [this] { RunGuarded([this] { ButtonRunClick(); }); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { RunGuarded([this] { BitBtn1Click(); }); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonRun);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Grid, 1);
    layout->addLayout(buttons);
    ShowRows();
}

TFTestRun::~TFTestRun()
{
    if (FTestRun == this) {
        FTestRun = nullptr;
    }
}

void TFTestRun::FillTestList()
{
    // The rows belong to the run that goes through them.
    if (!FBusy) {
        FSuite.Fill(QDir(AppDir()).filePath(QStringLiteral("TestRuns")).toStdString());
        ShowRows();
    }
    show();
    raise();
    activateWindow();
}

void TFTestRun::ShowRows()
{
    Grid->clearContents();
    // No test leaves one empty row under the header.
    Grid->setRowCount(std::max(1, FSuite.Count()));
    for (int row = 0; row < FSuite.Count(); ++row) {
        const TTestRow& test = FSuite.Rows()[static_cast<std::size_t>(row)];
        Grid->setItem(row, 0, new QTableWidgetItem(QString::number(row + 1)));
        Grid->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(test.Name)));
        Grid->setItem(row, StatusColumn, new QTableWidgetItem(QString::fromStdString(test.Status)));
    }
    Grid->setColumnWidth(0, NumberColumnWidth(*Grid, FSuite.Count()));
}

void TFTestRun::ShowStatus(int row)
{
    QTableWidgetItem* item = Grid->item(row, StatusColumn);
    if (item == nullptr) {
        return;
    }
    const std::string& status = FSuite.Rows()[static_cast<std::size_t>(row)].Status;
    item->setText(QString::fromStdString(status));
    if (status != TestWaiting) {
        Grid->scrollToItem(item);
    }
    // The runs process no events between rows: paint now, so the statuses come one by one.
    Grid->viewport()->repaint();
}

QString TFTestRun::CellText(int row, int column) const
{
    const QTableWidgetItem* item = Grid->item(row, column);
    return item != nullptr ? item->text() : QString();
}

void TFTestRun::UpdateButtons()
{
    const bool idle = !AnyRunGoing(FMain);
    ButtonRun->setEnabled(idle);
    BitBtn1->setEnabled(idle);
}

TTestRunHooks TFTestRun::Hooks()
{
    TTestRunHooks hooks;
    // The data module's results run: a run error shows its box there, and the pages the
    // run opened for itself close again after it.
    hooks.RunForResults = [](const std::string& path) { return dm->RunFileResults(QString::fromStdString(path)); };
    hooks.Stopped = [this] { return FStopRequested || FMain.CloseConfirmed(); };
    hooks.RowChanged = [this](int row) { ShowStatus(row); };
    hooks.Log = [](const std::string& tag, const std::string& text) {
        if (dm != nullptr) {
            dm->Log(QString::fromStdString(tag), QString::fromStdString(text));
        }
    };
    return hooks;
}

void TFTestRun::RunExclusive(const std::function<void()>& command)
{
    FBusy = true;
    FStopRequested = false;
    // Stop comes from the user through the action's trigger; END calls Stop directly and
    // ends only its own program.
    const QMetaObject::Connection stop =
        connect(FMain.actStop, &QAction::triggered, this, [this] { FStopRequested = true; });
    try {
        TRunActionsHold hold(FMain);
        FMain.UpdateAllActions(false);
        command();
    } catch (...) {
        disconnect(stop);
        FBusy = false;
        FMain.UpdateAllActions(false);
        throw;
    }
    disconnect(stop);
    FBusy = false;
    FMain.UpdateAllActions(false);
}

void TFTestRun::ButtonRunClick()
{
    if (AnyRunGoing(FMain)) {
        return;
    }
    RunExclusive([this] { FSuite.RunAll(Hooks()); });
    raise();
    activateWindow();
}

void TFTestRun::BitBtn1Click()
{
    if (AnyRunGoing(FMain)) {
        return;
    }
    const int row = Grid->currentRow();
    if (row < 0 || row >= FSuite.Count()) {
        return;
    }
    RunExclusive([this, row] { FSuite.CreateResultFile(row, Hooks()); });
    raise();
    activateWindow();
}
