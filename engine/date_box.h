#pragma once

#include <QDateTimeEdit>

namespace tamrivo {

// A date picker that takes a date typed whole, 2026-12-12 or 20261212, with the keyboard or
// an input method (full-width digits too), and that Tab leaves rather than walking its year,
// month and day. A typed date replaces the day and keeps the time shown.
class DateBox : public QDateTimeEdit {
public:
    using QDateTimeEdit::QDateTimeEdit;

protected:
    bool event(QEvent* event) override;  // an input method's text, which the spin box drops
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Takes one typed character; false for one that is no part of a date.
    bool type(QChar character);
    // Puts what was typed in as the date, or the date before when it is none.
    void finishTyping();

    QString typed_;
};

}  // namespace tamrivo
