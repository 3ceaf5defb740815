// Operations on combo boxes, edit boxes, list views, tables and status bars.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>

#include "engine/bar_builders.h"
#include "engine/conversions.h"
#include "engine/edit_box.h"
#include "engine/qt_window_services.h"
#include "engine/room_calendar.h"
#include "engine/status_bar.h"
#include "engine/table_view.h"

namespace tamrivo {
namespace {

QListWidgetItem* itemAt(const QListWidget* list, int row) {
    return list == nullptr || row < 0 || row >= list->count() ? nullptr : list->item(row);
}

}  // namespace

int QtWindowServices::comboAdd(WindowHandle window, const Text& combo, const Text& item,
                               int number) {
    return windowThread_.call<int>(
        [&] {
            auto* box = find<QComboBox>(window, combo);
            if (box == nullptr) {
                return -1;
            }
            // Adding to an empty box selects nothing, as on Windows; Qt would select it.
            const int selected = box->currentIndex();
            box->addItem(toQString(item), number);
            if (selected < 0) {
                box->setCurrentIndex(-1);
            }
            return box->count() - 1;
        },
        -1);
}

void QtWindowServices::comboClear(WindowHandle window, const Text& combo) {
    windowThread_.run([this, window, combo] {
        if (auto* box = find<QComboBox>(window, combo)) {
            box->clear();
        }
    });
}

int QtWindowServices::comboNumber(WindowHandle window, const Text& combo, int index) {
    return windowThread_.call<int>(
        [&] {
            const auto* box = find<QComboBox>(window, combo);
            if (box == nullptr || index < 0 || index >= box->count()) {
                return -1;
            }
            return box->itemData(index).toInt();
        },
        -1);
}

void QtWindowServices::editAppend(WindowHandle window, const Text& edit, const Text& text) {
    windowThread_.run([this, window, edit, text] {
        const Control* found = findControl(window, edit);
        QWidget* widget = found == nullptr ? nullptr : found->widget;
        if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
            box->moveCursor(QTextCursor::End);
            box->ensureCursorVisible();
            box->insertPlainText(toQtLines(text));
            box->ensureCursorVisible();
        } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            setLineText(*box,
                        box->text() + toQString(text));  // past the validator, as Windows does
        }
    });
}

int QtWindowServices::listInsertRow(WindowHandle window, const Text& list, int position,
                                    const Text& title, int image, int number) {
    return windowThread_.call<int>(
        [&] {
            auto* view = find<QListWidget>(window, list);
            if (view == nullptr) {
                return -1;
            }
            const int row = position < 0 || position > view->count() ? view->count() : position;
            auto* item = new QListWidgetItem(artwork_.roomStateImage(image), toQString(title));
            item->setData(kRowNumberRole, number);
            item->setData(kRowImageRole, image);
            view->insertItem(row, item);
            return row;
        },
        -1);
}

Text QtWindowServices::listCellText(WindowHandle window, const Text& list, int row, int column) {
    return windowThread_.call<Text>(
        [&]() -> Text {
            QWidget* widget = controlWidget(window, list);
            if (const auto* table = dynamic_cast<TableView*>(widget)) {
                return fromQString(table->rows().cell(row, column));
            }
            const QListWidgetItem* item = itemAt(dynamic_cast<QListWidget*>(widget), row);
            return item == nullptr || column != 0 ? Text() : fromQString(item->text());
        },
        Text());
}

int QtWindowServices::listRowNumber(WindowHandle window, const Text& list, int row) {
    return windowThread_.call<int>(
        [&] {
            QWidget* widget = controlWidget(window, list);
            if (const auto* table = dynamic_cast<TableView*>(widget)) {
                return table->rows().number(row);
            }
            const QListWidgetItem* item = itemAt(dynamic_cast<QListWidget*>(widget), row);
            return item == nullptr ? -1 : item->data(kRowNumberRole).toInt();
        },
        -1);
}

void QtWindowServices::listClear(WindowHandle window, const Text& list) {
    windowThread_.run([this, window, list] {
        QWidget* widget = controlWidget(window, list);
        if (auto* view = dynamic_cast<QListWidget*>(widget)) {
            const QSignalBlocker quiet(view);  // clearing is no change of the current item
            view->clear();
        } else if (auto* table = dynamic_cast<TableView*>(widget)) {
            table->setRows({});
        }
    });
}

void QtWindowServices::calendarSetPage(WindowHandle window, const Text& calendar,
                                       CalendarPage page) {
    windowThread_.run([this, window, calendar, page = std::move(page)]() mutable {
        if (auto* view = find<RoomCalendar>(window, calendar)) {
            view->setPage(std::move(page));
        }
    });
}

void QtWindowServices::tableSetRows(WindowHandle window, const Text& table,
                                    std::vector<TableRow> rows) {
    windowThread_.run([this, window, table, rows = std::move(rows)]() mutable {
        if (auto* view = find<TableView>(window, table)) {
            view->setRows(std::move(rows));
        }
    });
}

void QtWindowServices::statusText(WindowHandle window, const Text& statusBar, int part,
                                  const Text& text) {
    windowThread_.run([this, window, statusBar, part, text] {
        const Control* found = findControl(window, statusBar);
        if (auto* bar = found == nullptr ? nullptr : dynamic_cast<StatusBar*>(found->widget)) {
            bar->setPartText(part, toQString(text));
        }
    });
}

}  // namespace tamrivo
