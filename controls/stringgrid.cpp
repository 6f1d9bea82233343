#include "controls/stringgrid.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// A column may be wider than the view beside its scroll bar (the catalogue
// lists' names). The style cuts a text that does not fit its cell with an
// ellipsis at the cell's end, which the view would hide: a cell reaching
// past the view's edge is drawn as one whose text ends at that edge.
class VisibleCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const auto* view = static_cast<const QAbstractItemView*>(option.widget);
        const int textMargin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        QStyleOptionViewItem shown = option;
        shown.rect.setRight(std::min(shown.rect.right(), view->viewport()->width() - 1 + textMargin));
        QStyledItemDelegate::paint(painter, shown, index);
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
    setItemDelegate(new VisibleCellDelegate(this));
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
