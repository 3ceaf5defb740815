#include "engine/table_view.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "engine/conversions.h"
#include "engine/engine_window.h"

namespace tamrivo {
namespace {

// Cells without a number sort before every number; a share ("45.2%") sorts by its number.
double sortValue(const QString& cell) {
    bool ok = false;
    const double value = (cell.endsWith('%') ? cell.chopped(1) : cell).toDouble(&ok);
    return ok && !std::isnan(value) ? value : -std::numeric_limits<double>::infinity();
}

}  // namespace

TableRowModel::TableRowModel(std::vector<TableColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)) {}

void TableRowModel::setRows(std::vector<TableRow> rows) {
    beginResetModel();
    rows_.clear();
    rows_.reserve(rows.size());
    for (TableRow& row : rows) {
        std::vector<QString> cells;
        cells.reserve(columns_.size());
        for (std::size_t column = 0; column < columns_.size(); ++column) {
            cells.push_back(column < row.cells.size() ? toQString(row.cells[column]) : QString());
        }
        rows_.push_back({row.number, std::move(cells)});
    }
    endResetModel();
}

int TableRowModel::number(int row) const {
    return row >= 0 && row < rowCount() ? rows_[static_cast<std::size_t>(row)].number : -1;
}

QString TableRowModel::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
        return {};
    }
    return rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
}

int TableRowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TableRowModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

bool TableRowModel::isNumber(int column) const {
    return columns_[static_cast<std::size_t>(column)].kind == TableColumn::Kind::Number;
}

QVariant TableRowModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return cell(index.row(), index.column());
    }
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment side = isNumber(index.column()) ? Qt::AlignRight : Qt::AlignLeft;
        return QVariant::fromValue(side | Qt::AlignVCenter);
    }
    return {};
}

QVariant TableRowModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return toQString(columns_[static_cast<std::size_t>(section)].title);
    }
    if (role == Qt::InitialSortOrderRole) {
        return Qt::AscendingOrder;  // the first click on a title, whatever the style's habit
    }
    return {};
}

void TableRowModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columnCount()) {
        return;
    }
    const auto c = static_cast<std::size_t>(column);
    std::vector<std::size_t> positions(rows_.size());
    std::iota(positions.begin(), positions.end(), 0);
    const auto before = [&](std::size_t a, std::size_t b) {
        const QString& left = rows_[a].cells[c];
        const QString& right = rows_[b].cells[c];
        return isNumber(column) ? sortValue(left) < sortValue(right) : left < right;
    };
    if (order == Qt::AscendingOrder) {
        std::stable_sort(positions.begin(), positions.end(), before);
    } else {
        std::stable_sort(positions.begin(), positions.end(),
                         [&](std::size_t a, std::size_t b) { return before(b, a); });
    }

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(rows_.size());
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (std::size_t position = 0; position < positions.size(); ++position) {
        newRowOf[positions[position]] = static_cast<int>(position);
        sorted.push_back(std::move(rows_[positions[position]]));
    }
    rows_ = std::move(sorted);
    const QModelIndexList persistent = persistentIndexList();
    QModelIndexList moved;
    moved.reserve(persistent.size());
    for (const QModelIndex& index : persistent) {
        moved.append(this->index(newRowOf[static_cast<std::size_t>(index.row())], index.column()));
    }
    changePersistentIndexList(persistent, moved);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

TableView::TableView(const ControlDefinition& definition, QWidget* container, EngineWindow& window)
    : QTableView(container),
      model_(definition.columns, this),
      window_(window),
      name_(definition.name),
      onActivate_(definition.handlerFor(EventKind::RowActivated)) {
    setModel(&model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    setSortingEnabled(true);
    for (std::size_t column = 0; column < definition.columns.size(); ++column) {
        setColumnWidth(static_cast<int>(column), definition.columns[column].width);
    }
    const Handler onSelect = definition.handlerFor(EventKind::CurrentItemChanged);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, &window, [this, onSelect] {
        window_.raise(EventKind::CurrentItemChanged, onSelect, name_, selectedRow());
    });
    connect(this, &QAbstractItemView::doubleClicked, &window,
            [this](const QModelIndex& index) { activate(index.row()); });
}

int TableView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TableView::selectRow(int row) {
    if (row < 0 || row >= model_.rowCount()) {
        clearSelection();
        setCurrentIndex({});
        return;
    }
    QTableView::selectRow(row);
}

void TableView::setRows(std::vector<TableRow> rows) {
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    model_.setRows(std::move(rows));
}

void TableView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        activate(selectedRow());
        return;
    }
    QTableView::keyPressEvent(event);
}

void TableView::activate(int row) {
    if (row >= 0) {
        window_.raise(EventKind::RowActivated, onActivate_, name_, row);
    }
}

}  // namespace tamrivo
