#include "engine/window_keys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

#include <functional>

#include "engine/engine_window.h"

namespace tamrivo {
namespace {

// The first enabled, visible button of the window that fits.
QAbstractButton* findButton(const EngineWindow& window,
                            const std::function<bool(const ControlDefinition&)>& fits) {
    for (const Control& control : window.controls()) {
        auto* button = qobject_cast<QAbstractButton*>(control.widget);
        if (button != nullptr && button->isEnabled() && button->isVisibleTo(&window) &&
            fits(*control.definition)) {
            return button;
        }
    }
    return nullptr;
}

bool confirm(EngineWindow& window) {
    auto* focused = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
    QAbstractButton* button =
        focused != nullptr && focused->window() == &window
            ? focused
            : findButton(window, [](const ControlDefinition& definition) {
                  return definition.text == "确定" || definition.text == "确认";
              });
    if (button == nullptr) {
        return false;
    }
    button->click();
    return true;
}

bool cancel(EngineWindow& window) {
    if (QAbstractButton* button = findButton(window, [](const ControlDefinition& definition) {
            return definition.handlerFor(EventKind::Clicked) == Handler::CloseWindow;
        })) {
        button->click();
        return true;
    }
    if (&window.definition() == &windowDefinition(WindowKind::Main)) {
        return false;
    }
    window.close();
    return true;
}

}  // namespace

bool answerWindowKey(EngineWindow& window, const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier) {
        return false;
    }
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return confirm(window);
        case Qt::Key_Escape:
            return cancel(window);
        default:
            return false;
    }
}

}  // namespace tamrivo
