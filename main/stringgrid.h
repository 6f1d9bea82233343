#pragma once

#include <QTableWidget>

// A grid of text cells addressed by column and row as the window layouts
// give them: with a fixed header row, row 0 is the header and the data
// starts at row 1; without one, row 0 is the first data row.
class StringGrid : public QTableWidget
{
    Q_OBJECT
public:
    StringGrid(QWidget* parent, int columns, bool headerRow);

    // Rows including the header row.
    int rowCount() const;
    void setRowCount(int rows);
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);
    // A width of 0 hides the column.
    void setColWidth(int column, int width);
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
    bool m_headerRow;
};
