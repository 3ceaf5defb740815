#include "engine/control_builders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <type_traits>

#include "engine/bar_builders.h"
#include "engine/chart_view.h"
#include "engine/conversions.h"
#include "engine/date_box.h"
#include "engine/edit_box.h"
#include "engine/room_calendar.h"
#include "engine/table_view.h"

namespace tamrivo {
namespace {

QWidget* makeButton(const ControlDefinition& definition, QWidget* container, EngineWindow& window) {
    auto* button = new QPushButton(toQString(definition.text), container);
    button->setAutoDefault(false);
    const Handler onClick = definition.handlerFor(EventKind::Clicked);
    if (onClick != Handler::None) {
        QObject::connect(button, &QPushButton::clicked, &window,
                         [&window, onClick, name = definition.name] {
                             window.raise(EventKind::Clicked, onClick, name);
                         });
    }
    return button;
}

QWidget* makeLabel(const ControlDefinition& definition, QWidget* container) {
    auto* label = new QLabel(container);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setText(toQtLines(definition.text));
    return label;
}

// Raises the control's Changed event, with the argument the signal carries, if one is bound.
template <class Widget, class Signal>
void forwardChanges(const ControlDefinition& definition, Widget* widget, Signal signal,
                    EngineWindow& window) {
    const Handler onChange = definition.handlerFor(EventKind::Changed);
    if (onChange == Handler::None) {
        return;
    }
    QObject::connect(
        widget, signal, &window, [&window, onChange, name = definition.name](auto value) {
            if constexpr (std::is_integral_v<decltype(value)>) {
                window.raise(EventKind::Changed, onChange, name, static_cast<int>(value));
            } else {
                window.raise(EventKind::Changed, onChange, name);
            }
        });
}

QWidget* makeComboBox(const ControlDefinition& definition, QWidget* container,
                      EngineWindow& window) {
    auto* combo = new QComboBox(container);
    combo->setEditable(false);
    for (const Text& item : definition.items) {
        combo->addItem(toQString(item), 0);
    }
    combo->setCurrentIndex(definition.selectedIndex);
    forwardChanges(definition, combo, &QComboBox::currentIndexChanged, window);
    return combo;
}

QWidget* makeDatePicker(const ControlDefinition& definition, QWidget* container,
                        EngineWindow& window) {
    auto* picker = new DateBox(container);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(definition.daysOnly ? QStringLiteral("yyyy-MM-dd")
                                                 : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    picker->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    picker->setDateTime(QDateTime::currentDateTime());
    forwardChanges(definition, picker, &QDateTimeEdit::dateTimeChanged, window);
    return picker;
}

QWidget* makeCheckBox(const ControlDefinition& definition, QWidget* container,
                      EngineWindow& window) {
    auto* box = new QCheckBox(toQString(definition.text), container);
    forwardChanges(definition, box, &QCheckBox::toggled, window);
    return box;
}

QWidget* makeProgressBar(const ControlDefinition& definition, QWidget* container) {
    auto* bar = new QProgressBar(container);
    bar->setRange(0, definition.maximum);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

QTimer* makeTimer(const ControlDefinition& definition, EngineWindow& window) {
    auto* timer = new QTimer(&window);
    const Handler onTick = definition.handlerFor(EventKind::Tick);
    QObject::connect(timer, &QTimer::timeout, &window, [&window, onTick, name = definition.name] {
        window.raise(EventKind::Tick, onTick, name);
    });
    if (definition.interval > 0) {
        timer->start(definition.interval);
    }
    return timer;
}

QWidget* makeWidget(const ControlDefinition& definition, QWidget* container, EngineWindow& window,
                    const Artwork& artwork) {
    switch (definition.type) {
        case ControlType::Edit:
            return makeEditBox(definition, container, window);
        case ControlType::Button:
            return makeButton(definition, container, window);
        case ControlType::Label:
            return makeLabel(definition, container);
        case ControlType::GroupBox:
            return new QGroupBox(toQString(definition.text), container);
        case ControlType::ComboBox:
            return makeComboBox(definition, container, window);
        case ControlType::DatePicker:
            return makeDatePicker(definition, container, window);
        case ControlType::CheckBox:
            return makeCheckBox(definition, container, window);
        case ControlType::Table:
            return new TableView(definition, container, window);
        case ControlType::Calendar:
            return new RoomCalendar(container);
        case ControlType::Chart:
            return new ChartView(definition, container);
        case ControlType::ProgressBar:
            return makeProgressBar(definition, container);
        case ControlType::StatusBar:
            return makeStatusBar(definition, container, window);
        case ControlType::Toolbar:
            return makeToolbar(definition, container, window, artwork);
        case ControlType::ListView:
            return makeListView(definition, container, window);
        case ControlType::Timer:
            break;
    }
    return nullptr;
}

void applyCommonSettings(const ControlDefinition& definition, QWidget& widget) {
    widget.setObjectName(toQString(definition.name));
    widget.setProperty(kControlProperty, true);
    if (definition.type != ControlType::StatusBar && definition.type != ControlType::Toolbar) {
        const Bounds& b = definition.bounds;
        widget.setGeometry(b.left, b.top, b.width, b.height);
    }
    if (definition.fontPixelHeight > 0) {
        QFont font = widget.font();
        font.setPixelSize(definition.fontPixelHeight);
        widget.setFont(font);
    }
    if (definition.alert) {
        QPalette palette = widget.palette();
        palette.setColor(QPalette::WindowText, Qt::red);
        palette.setColor(QPalette::Text, Qt::red);
        widget.setPalette(palette);
    }
    if (!definition.focusable) {
        widget.setFocusPolicy(Qt::NoFocus);
    }
    widget.setEnabled(!definition.disabled);
    widget.setVisible(definition.visible);
}

}  // namespace

Control buildControl(const ControlDefinition& definition, QWidget* container, EngineWindow& window,
                     const Artwork& artwork) {
    Control control;
    control.definition = &definition;
    if (definition.type == ControlType::Timer) {
        control.timer = makeTimer(definition, window);
        return control;
    }
    control.widget = makeWidget(definition, container, window, artwork);
    applyCommonSettings(definition, *control.widget);
    return control;
}

}  // namespace tamrivo
