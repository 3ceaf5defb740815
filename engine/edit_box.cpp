#include "engine/edit_box.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>

#include "engine/bounded_text_edit.h"
#include "engine/conversions.h"
#include "engine/engine_window.h"

namespace tamrivo {
namespace {

// Hands each key press of a box to the bound handler; a consumed key never reaches the box.
class KeyForwarder : public QObject {
public:
    KeyForwarder(EngineWindow& window, Text control, Handler handler, QObject* box)
        : QObject(box), window_(window), control_(std::move(control)), handler_(handler) {}

    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        return window_.raise(EventKind::KeyPressed, handler_, control_,
                             windowsKeyCode(*static_cast<QKeyEvent*>(event)));
    }

private:
    EngineWindow& window_;
    Text control_;
    Handler handler_;
};

// Refuses, typed or pasted, any text with a character GBK cannot hold.
class GbkValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& /*position*/) const override {
        return holdsOnlyGbk(input) ? Acceptable : Invalid;
    }
};

QWidget* makeMultiLine(const ControlDefinition& definition, QWidget* container) {
    auto* box = definition.maxLength > 0 ? new BoundedTextEdit(definition.maxLength, container)
                                         : new QPlainTextEdit(container);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setTabChangesFocus(true);
    box->setReadOnly(definition.editMode == EditMode::ReadOnly);
    box->setPlainText(toQtLines(definition.text));
    return box;
}

QWidget* makeSingleLine(const ControlDefinition& definition, QWidget* container) {
    auto* box = new QLineEdit(container);
    if (definition.maxLength > 0) {
        box->setMaxLength(definition.maxLength);
    }
    setLineText(*box, toQString(definition.text));
    if (definition.gbkOnly) {
        box->setValidator(new GbkValidator(box));
    }
    switch (definition.editMode) {
        case EditMode::ReadOnly:
            box->setReadOnly(true);
            break;
        case EditMode::Password:
            box->setEchoMode(QLineEdit::Password);
            box->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
            break;
        case EditMode::Decimal:
            // Typed and pasted text alike; what the program writes is not checked.
            box->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[-0-9.]*")), box));
            break;
        case EditMode::Normal:
            break;
    }
    return box;
}

}  // namespace

QWidget* makeEditBox(const ControlDefinition& definition, QWidget* container,
                     EngineWindow& window) {
    QWidget* box = definition.multiLine ? makeMultiLine(definition, container)
                                        : makeSingleLine(definition, container);
    const Handler onKey = definition.handlerFor(EventKind::KeyPressed);
    if (onKey != Handler::None) {
        box->installEventFilter(new KeyForwarder(window, definition.name, onKey, box));
    }
    const Handler onChange = definition.handlerFor(EventKind::Changed);
    if (onChange != Handler::None) {
        const auto raiseChanged = [&window, onChange, name = definition.name] {
            window.raise(EventKind::Changed, onChange, name);
        };
        if (auto* line = qobject_cast<QLineEdit*>(box)) {
            QObject::connect(line, &QLineEdit::textChanged, &window, raiseChanged);
        } else {
            QObject::connect(static_cast<QPlainTextEdit*>(box), &QPlainTextEdit::textChanged,
                             &window, raiseChanged);
        }
    }
    return box;
}

// The limit binds the person only; Qt would cut the program's text to it.
void setLineText(QLineEdit& box, const QString& text) {
    if (text.size() > box.maxLength()) {
        box.setMaxLength(static_cast<int>(text.size()));
    }
    box.setText(text);
}

int windowsKeyCode(const QKeyEvent& event) {
    const int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return key;  // Qt and Windows share these codes
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        return 0x70 + (key - Qt::Key_F1);
    }
    switch (key) {
        case Qt::Key_Backspace:
            return 0x08;
        case Qt::Key_Tab:
            return 0x09;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 0x0D;
        case Qt::Key_Shift:
            return 0x10;
        case Qt::Key_Control:
            return 0x11;
        case Qt::Key_Alt:
            return 0x12;
        case Qt::Key_Escape:
            return 0x1B;
        case Qt::Key_Space:
            return 0x20;
        case Qt::Key_PageUp:
            return 0x21;
        case Qt::Key_PageDown:
            return 0x22;
        case Qt::Key_End:
            return 0x23;
        case Qt::Key_Home:
            return 0x24;
        case Qt::Key_Left:
            return 0x25;
        case Qt::Key_Up:
            return 0x26;
        case Qt::Key_Right:
            return 0x27;
        case Qt::Key_Down:
            return 0x28;
        case Qt::Key_Insert:
            return 0x2D;
        case Qt::Key_Delete:
            return 0x2E;
        default:
            return 0;
    }
}

}  // namespace tamrivo
