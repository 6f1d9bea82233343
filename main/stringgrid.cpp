#include "main/stringgrid.h"

#include <QHeaderView>

StringGrid::StringGrid(QWidget* parent, int columns, bool headerRow) : QTableWidget(parent), m_headerRow(headerRow)
{
    setColumnCount(columns);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setShowGrid(true);
    verticalHeader()->setVisible(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(19);
    horizontalHeader()->setVisible(headerRow);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setFixedHeight(headerRow ? 19 : 0);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (int c = 0; c < columns; ++c)
        setHorizontalHeaderItem(c, new QTableWidgetItem);
    QTableWidget::setRowCount(headerRow ? 0 : 1);
}

int StringGrid::rowCount() const
{
    return QTableWidget::rowCount() + (m_headerRow ? 1 : 0);
}

void StringGrid::setRowCount(int rows)
{
    QTableWidget::setRowCount(std::max(0, rows - (m_headerRow ? 1 : 0)));
}

QString StringGrid::cell(int column, int row) const
{
    if (m_headerRow && row == 0) {
        const QTableWidgetItem* header = horizontalHeaderItem(column);
        return header ? header->text() : QString();
    }
    const QTableWidgetItem* it = item(row - (m_headerRow ? 1 : 0), column);
    return it ? it->text() : QString();
}

void StringGrid::setCell(int column, int row, const QString& text)
{
    if (m_headerRow && row == 0) {
        horizontalHeaderItem(column)->setText(text);
        return;
    }
    const int r = row - (m_headerRow ? 1 : 0);
    if (QTableWidgetItem* it = item(r, column))
        it->setText(text);
    else
        setItem(r, column, new QTableWidgetItem(text));
}

void StringGrid::setColWidth(int column, int width)
{
    setColumnHidden(column, width == 0);
    if (width > 0)
        setColumnWidth(column, width);
}

void StringGrid::fitColumnToView(int column)
{
    horizontalHeader()->setSectionResizeMode(column, QHeaderView::Stretch);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int StringGrid::selectedRow() const
{
    const int r = currentRow();
    return r < 0 ? -1 : r + (m_headerRow ? 1 : 0);
}

void StringGrid::selectGridRow(int row)
{
    const int r = row - (m_headerRow ? 1 : 0);
    if (r < 0 || r >= QTableWidget::rowCount())
        return;
    setCurrentCell(r, 0);
    selectRow(r);
    scrollToItem(item(r, 0) ? item(r, 0) : nullptr, QAbstractItemView::PositionAtTop);
}

int StringGrid::lastRowWith(int column, const QString& text, int rows) const
{
    int found = 1;
    for (int r = 1; r < rows; ++r) {
        if (cell(column, r) == text)
            found = r;
    }
    return found;
}
