// Property reads and writes of windows and controls.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>

#include "engine/bar_builders.h"
#include "engine/chart_view.h"
#include "engine/conversions.h"
#include "engine/edit_box.h"
#include "engine/qt_window_services.h"
#include "engine/table_view.h"

namespace tamrivo {

Text QtWindowServices::text(WindowHandle window, const Text& control) {
    return windowThread_.call<Text>(
        [&]() -> Text {
            if (control.empty()) {
                const EngineWindow* found = findWindow(window);
                return found == nullptr ? Text() : fromQString(found->windowTitle());
            }
            const Control* found = findControl(window, control);
            QWidget* widget = found == nullptr ? nullptr : found->widget;
            if (const auto* box = qobject_cast<QLineEdit*>(widget)) {
                return fromQString(box->text());
            }
            if (const auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
                return fromQtLines(box->toPlainText());
            }
            if (const auto* label = qobject_cast<QLabel*>(widget)) {
                return fromQtLines(label->text());
            }
            if (const auto* button = qobject_cast<QAbstractButton*>(widget)) {
                return fromQString(button->text());
            }
            if (const auto* group = qobject_cast<QGroupBox*>(widget)) {
                return fromQString(group->title());
            }
            if (const auto* combo = qobject_cast<QComboBox*>(widget)) {
                return fromQString(combo->currentText());
            }
            if (const auto* chart = dynamic_cast<const ChartView*>(widget)) {
                return fromQString(chart->chart()->title());
            }
            return {};
        },
        Text());
}

void QtWindowServices::setText(WindowHandle window, const Text& control, const Text& text) {
    windowThread_.run([this, window, control, text] {
        if (control.empty()) {
            if (EngineWindow* found = findWindow(window)) {
                found->setWindowTitle(toQString(text));
            }
            return;
        }
        const Control* found = findControl(window, control);
        QWidget* widget = found == nullptr ? nullptr : found->widget;
        if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            setLineText(*box, toQString(text));
        } else if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
            box->setPlainText(toQtLines(text));
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(toQtLines(text));
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setText(toQString(text));
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            group->setTitle(toQString(text));
        }
    });
}

void QtWindowServices::setVisible(WindowHandle window, const Text& control, bool visible) {
    windowThread_.run([this, window, control, visible] {
        QWidget* widget = control.empty() ? findWindow(window) : find<QWidget>(window, control);
        if (widget != nullptr) {
            widget->setVisible(visible);
        }
    });
}

void QtWindowServices::setDisabled(WindowHandle window, const Text& control, bool disabled) {
    windowThread_.run([this, window, control, disabled] {
        QWidget* widget = control.empty() ? findWindow(window) : find<QWidget>(window, control);
        if (widget != nullptr) {
            widget->setEnabled(!disabled);
        }
    });
}

void QtWindowServices::setTimerInterval(WindowHandle window, const Text& timer, int milliseconds) {
    windowThread_.run([this, window, timer, milliseconds] {
        const Control* found = findControl(window, timer);
        if (found == nullptr || found->timer == nullptr) {
            return;
        }
        if (milliseconds > 0) {
            found->timer->start(milliseconds);
        } else {
            found->timer->stop();
        }
    });
}

DateTime QtWindowServices::dateTime(WindowHandle window, const Text& datePicker) {
    return windowThread_.call<DateTime>(
        [&]() -> DateTime {
            const auto* picker = find<QDateTimeEdit>(window, datePicker);
            return picker == nullptr ? DateTime{} : fromQDateTime(picker->dateTime());
        },
        DateTime{});
}

void QtWindowServices::setDateTime(WindowHandle window, const Text& datePicker, DateTime value) {
    windowThread_.run([this, window, datePicker, value] {
        if (auto* picker = find<QDateTimeEdit>(window, datePicker)) {
            picker->setDateTime(toQDateTime(value));
        }
    });
}

int QtWindowServices::selectedIndex(WindowHandle window, const Text& control) {
    return windowThread_.call<int>(
        [&] {
            QWidget* widget = controlWidget(window, control);
            if (const auto* combo = dynamic_cast<QComboBox*>(widget)) {
                return combo->currentIndex();
            }
            if (const auto* list = dynamic_cast<QListWidget*>(widget)) {
                return selectedRow(*list);
            }
            if (const auto* table = dynamic_cast<TableView*>(widget)) {
                return table->selectedRow();
            }
            return -1;
        },
        -1);
}

void QtWindowServices::setSelectedIndex(WindowHandle window, const Text& control, int index) {
    windowThread_.run([this, window, control, index] {
        QWidget* widget = controlWidget(window, control);
        if (auto* combo = dynamic_cast<QComboBox*>(widget)) {
            combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
        } else if (auto* list = dynamic_cast<QListWidget*>(widget)) {
            if (index >= 0 && index < list->count()) {
                list->setCurrentRow(index);
            } else {
                list->setCurrentRow(-1);
                list->clearSelection();
            }
        } else if (auto* table = dynamic_cast<TableView*>(widget)) {
            table->selectRow(index);
        }
    });
}

bool QtWindowServices::isChecked(WindowHandle window, const Text& checkBox) {
    return windowThread_.call<bool>(
        [&] {
            const auto* box = find<QCheckBox>(window, checkBox);
            return box != nullptr && box->isChecked();
        },
        false);
}

void QtWindowServices::setChecked(WindowHandle window, const Text& checkBox, bool checked) {
    windowThread_.run([this, window, checkBox, checked] {
        if (auto* box = find<QCheckBox>(window, checkBox)) {
            box->setChecked(checked);
        }
    });
}

int QtWindowServices::progressMaximum(WindowHandle window, const Text& progressBar) {
    return windowThread_.call<int>(
        [&] {
            const Control* found = findControl(window, progressBar);
            const bool isBar = found != nullptr && qobject_cast<QProgressBar*>(found->widget);
            return isBar ? found->definition->maximum : 0;
        },
        0);
}

void QtWindowServices::setProgressPosition(WindowHandle window, const Text& progressBar,
                                           int position) {
    windowThread_.run([this, window, progressBar, position] {
        const Control* found = findControl(window, progressBar);
        auto* bar = found == nullptr ? nullptr : qobject_cast<QProgressBar*>(found->widget);
        if (bar != nullptr) {
            // Windows keeps a position inside the range; Qt would ignore one outside it.
            bar->setValue(std::clamp(position, 0, found->definition->maximum));
        }
    });
}

void QtWindowServices::setProgressBusy(WindowHandle window, const Text& progressBar, bool busy) {
    windowThread_.run([this, window, progressBar, busy] {
        const Control* found = findControl(window, progressBar);
        auto* bar = found == nullptr ? nullptr : qobject_cast<QProgressBar*>(found->widget);
        if (bar != nullptr) {
            bar->setRange(0, busy ? 0 : found->definition->maximum);
        }
    });
}

}  // namespace tamrivo
