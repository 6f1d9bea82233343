#include "controls/stringgrid.h"

#include <QApplication>
#include <QPainter>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// A cell's text that does not fit ends in "…". The style measures a text by
// its advance and lets one through whose last hinted bold glyphs reach past
// the cell, which then cuts them off without the mark; here the text is
// measured with room for that overhang.
class ElidingDelegate : public QStyledItemDelegate
{
    static constexpr int kOverhang = 4;

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QString text = cell.text;
        cell.text.clear();
        const QStyle* style = cell.widget ? cell.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, cell.widget) + 1;
        const QRect room =
            style->subElementRect(QStyle::SE_ItemViewItemText, &cell, cell.widget).adjusted(margin, 0, -margin, 0);
        const QPalette::ColorGroup group = !(cell.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (cell.state & QStyle::State_Active) ? QPalette::Active
                                                                                  : QPalette::Inactive;
        painter->save();
        painter->setFont(cell.font);
        painter->setPen(cell.palette.color(
            group, (cell.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
        painter->setClipRect(room);
        painter->drawText(room, int(cell.displayAlignment) | Qt::TextSingleLine,
                          painter->fontMetrics().elidedText(text, Qt::ElideRight, room.width() - kOverhang));
        painter->restore();
    }
};

} // namespace

StringGrid::StringGrid(QWidget* parent, int columns, bool headerRow)
    : QTableWidget(parent), m_headerRow(headerRow), m_hidden(std::max(columns, 1), false),
      m_hiddenHeaders(m_hidden.size())
{
    setColumnCount(gridColumnCount());
    setTabKeyNavigation(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setItemDelegate(new ElidingDelegate(this));
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
    for (int c = 0; c < gridColumnCount(); ++c)
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

int StringGrid::viewColumn(int column) const
{
    if (column < 0 || column >= gridColumnCount() || m_hidden[column])
        return -1;
    return static_cast<int>(std::count(m_hidden.begin(), m_hidden.begin() + column, false));
}

QString StringGrid::cell(int column, int row) const
{
    const int c = viewColumn(column);
    if (m_headerRow && row == 0) {
        if (c < 0)
            return column >= 0 && column < gridColumnCount() ? m_hiddenHeaders[column] : QString();
        const QTableWidgetItem* header = horizontalHeaderItem(c);
        return header ? header->text() : QString();
    }
    const int r = row - (m_headerRow ? 1 : 0);
    if (c < 0) {
        const QTableWidgetItem* first = column > 0 ? item(r, 0) : nullptr;
        return first ? first->data(hiddenRole(column)).toString() : QString();
    }
    const QTableWidgetItem* it = item(r, c);
    return it ? it->text() : QString();
}

void StringGrid::setCell(int column, int row, const QString& text)
{
    const int c = viewColumn(column);
    if (m_headerRow && row == 0) {
        if (c >= 0)
            horizontalHeaderItem(c)->setText(text);
        else if (column > 0 && column < gridColumnCount())
            m_hiddenHeaders[column] = text;
        return;
    }
    const int r = row - (m_headerRow ? 1 : 0);
    if (c < 0) {
        if (column <= 0 || column >= gridColumnCount())
            return;
        if (!item(r, 0))
            setItem(r, 0, new QTableWidgetItem);
        item(r, 0)->setData(hiddenRole(column), text);
        return;
    }
    if (QTableWidgetItem* it = item(r, c))
        it->setText(text);
    else
        setItem(r, c, new QTableWidgetItem(text));
}

bool StringGrid::isColumnHidden(int column) const
{
    const int c = viewColumn(column);
    return c < 0 || QTableWidget::isColumnHidden(c);
}

void StringGrid::setColWidth(int column, int width)
{
    if (column < 0 || column >= gridColumnCount())
        return;
    if (column == 0) {
        setColumnHidden(0, width == 0);
        if (width > 0)
            setColumnWidth(0, width);
        return;
    }
    const bool hide = width == 0;
    if (hide != m_hidden[column]) {
        // The rows are selected and current in column 0; moving the cells of
        // another column is no change of the user's.
        const QSignalBlocker quiet(this);
        const int rows = QTableWidget::rowCount();
        if (hide) {
            const int c = viewColumn(column);
            const QTableWidgetItem* header = horizontalHeaderItem(c);
            m_hiddenHeaders[column] = header ? header->text() : QString();
            for (int r = 0; r < rows; ++r) {
                const QTableWidgetItem* it = item(r, c);
                if (!it)
                    continue;
                if (!item(r, 0))
                    setItem(r, 0, new QTableWidgetItem);
                item(r, 0)->setData(hiddenRole(column), it->text());
            }
            if (currentColumn() == c)
                setCurrentCell(currentRow(), 0);
            m_hidden[column] = true;
            removeColumn(c);
        } else {
            m_hidden[column] = false;
            const int c = viewColumn(column);
            insertColumn(c);
            setHorizontalHeaderItem(c, new QTableWidgetItem(m_hiddenHeaders[column]));
            for (int r = 0; r < rows; ++r) {
                QTableWidgetItem* first = item(r, 0);
                if (!first || !first->data(hiddenRole(column)).isValid())
                    continue;
                setItem(r, c, new QTableWidgetItem(first->data(hiddenRole(column)).toString()));
                first->setData(hiddenRole(column), QVariant());
            }
        }
    }
    if (width > 0)
        setColumnWidth(viewColumn(column), width);
}

void StringGrid::fitColumnToView(int column)
{
    horizontalHeader()->setSectionResizeMode(viewColumn(column), QHeaderView::Stretch);
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
