#pragma once

#include <QTableWidget>

#include <vector>

// A grid of text cells addressed by column and row as the window layouts
// give them: with a fixed header row, row 0 is the header and the data
// starts at row 1; without one, row 0 is the first data row.
//
// Columns are numbered as the layouts give them, hidden ones included. A
// hidden column keeps its cells for the program but is not part of the
// table the view shows, so neither the list nor a screen reader sees it.
// Tab and Shift+Tab leave the list; the arrow keys move within it.
class StringGrid : public QTableWidget
{
    Q_OBJECT
public:
    StringGrid(QWidget* parent, int columns, bool headerRow);

    // The columns of the layout, hidden ones included.
    int gridColumnCount() const { return static_cast<int>(m_hidden.size()); }

    // Rows including the header row.
    int rowCount() const;
    void setRowCount(int rows);
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);
    // A width of 0 hides the column; column 0 always shows.
    void setColWidth(int column, int width);
    bool isColumnHidden(int column) const;
    // For a list whose columns are meant to fit its width: `column` takes
    // what the other columns leave of the view beside the vertical scroll
    // bar, so that every column shows in full and the list never scrolls
    // sideways.
    void fitColumnToView(int column);
    // The selected row in the grid's numbering, -1 when none.
    int selectedRow() const;
    void selectGridRow(int row);
    // The last of rows 1 ... rows - 1 whose cell in `column` is `text`
    // exactly, or row 1 when there is none.
    int lastRowWith(int column, const QString& text, int rows) const;

private:
    // The column of the view's table that shows `column`; -1 while hidden.
    int viewColumn(int column) const;
    // The role under which the cell of column 0 keeps a hidden column's
    // text for its row.
    static int hiddenRole(int column) { return Qt::UserRole + column; }

    bool m_headerRow;
    std::vector<bool> m_hidden;
    std::vector<QString> m_hiddenHeaders;
};
