#include "engine/bounded_text_edit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

namespace tamrivo {
namespace {

// The characters a key press would put into the box: Enter a line break, a printable key
// its text, anything else (editing keys, shortcuts such as Ctrl+V) none.
qsizetype charactersTyped(const QKeyEvent& event) {
    if ((event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) != 0) {
        return 0;
    }
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) {
        return 1;
    }
    const QString text = event.text();
    return !text.isEmpty() && text.front().isPrint() ? text.size() : 0;
}

}  // namespace

BoundedTextEdit::BoundedTextEdit(int limit, QWidget* parent)
    : QPlainTextEdit(parent), limit_(limit) {}

void BoundedTextEdit::keyPressEvent(QKeyEvent* event) {
    if (charactersTyped(*event) > room()) {
        event->accept();  // the box is full: the key is taken and changes nothing
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void BoundedTextEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (event->commitString().size() <= room()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent bounded(event->preeditString(), event->attributes());
    bounded.setCommitString(fitting(event->commitString(), room()), event->replacementStart(),
                            event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&bounded);
}

void BoundedTextEdit::insertFromMimeData(const QMimeData* source) {
    const QString text =
        source != nullptr && source->hasText() ? fitting(source->text(), room()) : QString();
    if (text.isEmpty()) {
        return;  // nothing fits: the selection, if any, stays as it is
    }
    textCursor().insertText(text);
    ensureCursorVisible();
}

int BoundedTextEdit::room() const {
    const QTextCursor cursor = textCursor();
    const int length = document()->characterCount() - 1;  // without the closing separator
    return limit_ - length + (cursor.selectionEnd() - cursor.selectionStart());
}

QString fitting(const QString& text, int room) {
    if (room <= 0) {
        return {};
    }
    if (text.size() <= room) {
        return text;
    }
    const bool splitsPair = text.at(room - 1).isHighSurrogate();
    return text.left(splitsPair ? room - 1 : room);
}

}  // namespace tamrivo
