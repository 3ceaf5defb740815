#include "engine/date_box.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>

namespace tamrivo {
namespace {

constexpr qsizetype kLongestDate = 10;  // 2026-12-12

bool isSeparator(QChar character) {
    return character == u'-' || character == u'/' || character == u'.';
}

// The date a typed text names: eight digits, or year, month and day between separators.
QDate typedDate(const QString& typed) {
    static const QRegularExpression parts(
        QStringLiteral("^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})$"));
    static const QRegularExpression digits(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})$"));
    QRegularExpressionMatch match = parts.match(typed);
    if (!match.hasMatch()) {
        match = digits.match(typed);
    }
    if (!match.hasMatch()) {
        return {};
    }
    return {match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt()};
}

}  // namespace

bool DateBox::focusNextPrevChild(bool next) {
    finishTyping();
    return QWidget::focusNextPrevChild(next);
}

void DateBox::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.size() == 1 && type(text.front())) {
        return;
    }
    if (event->key() == Qt::Key_Backspace && !typed_.isEmpty()) {
        typed_.chop(1);
        lineEdit()->setText(typed_);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        finishTyping();
    } else {
        typed_.clear();
    }
    QDateTimeEdit::keyPressEvent(event);
}

bool DateBox::event(QEvent* event) {
    if (event->type() != QEvent::InputMethod) {
        return QDateTimeEdit::event(event);
    }
    // Digits and dashes an input method commits (full-width too) are typed; the rest of what
    // it sends, such as its composing text, changes nothing.
    for (const QChar character : static_cast<QInputMethodEvent*>(event)->commitString()) {
        type(character);
    }
    event->accept();
    return true;
}

void DateBox::focusOutEvent(QFocusEvent* event) {
    finishTyping();
    QDateTimeEdit::focusOutEvent(event);
}

bool DateBox::type(QChar character) {
    const int digit = character.digitValue();  // full-width digits too
    const bool separator = isSeparator(character) || character == u'－' || character == u'／';
    if ((digit < 0 && !separator) || typed_.size() >= kLongestDate) {
        return digit >= 0 || separator;  // a date full already takes no more
    }
    typed_ += digit >= 0 ? QChar(u'0' + digit) : QChar(u'-');
    lineEdit()->setText(typed_);
    // Eight digits without separators, or ten characters with them, make a date at once.
    const bool whole =
        typed_.size() == kLongestDate || (typed_.size() == 8 && !typed_.contains(u'-'));
    if (const QDate date = typedDate(typed_); whole && date.isValid()) {
        typed_.clear();
        setDate(date);
        lineEdit()->setText(textFromDateTime(dateTime()));
    }
    return true;
}

void DateBox::finishTyping() {
    if (typed_.isEmpty()) {
        return;
    }
    const QDate date = typedDate(typed_);
    typed_.clear();
    if (date.isValid() && date >= minimumDate() && date <= maximumDate()) {
        setDate(date);
    } else {
        QApplication::beep();
    }
    lineEdit()->setText(textFromDateTime(dateTime()));
}

}  // namespace tamrivo
