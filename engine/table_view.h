#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include <vector>

#include "ui/window_definition.h"

namespace tamrivo {

class EngineWindow;

// The rows of a table, replaced whole in one call, and sorted in place by a column: numbers
// by their value (cells that hold none first), other cells as texts. Sorting is stable, so a
// second click on a title reverses the rows and keeps ties in the order they had.
class TableRowModel final : public QAbstractTableModel {
public:
    TableRowModel(std::vector<TableColumn> columns, QObject* parent);

    void setRows(std::vector<TableRow> rows);
    int number(int row) const;
    QString cell(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

private:
    struct Row {
        int number;
        std::vector<QString> cells;
    };

    bool isNumber(int column) const;

    std::vector<TableColumn> columns_;
    std::vector<Row> rows_;
};

// A table of whole rows, one selected at a time by click or keys; a title click sorts by its
// column. The selection and its activation (double click, Enter) go to the bound handlers
// with the row as it is shown.
class TableView final : public QTableView {
public:
    TableView(const ControlDefinition& definition, QWidget* container, EngineWindow& window);

    TableRowModel& rows() { return model_; }
    const TableRowModel& rows() const { return model_; }
    // The shown row that is selected, or -1.
    int selectedRow() const;
    void selectRow(int row);  // -1 selects none
    void setRows(std::vector<TableRow> rows);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void activate(int row);

    TableRowModel model_;
    EngineWindow& window_;
    Text name_;
    Handler onActivate_;
};

}  // namespace tamrivo
