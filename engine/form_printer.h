#pragma once

#include "ui/window_services.h"

#include <QFont>

class QPrinter;

namespace tamrivo {

// A printing type that has the Chinese characters, at this size.
QFont formFont(int points, bool bold = false);

// Sets the printer up for a form: an A5 page, upright, with margins a hand can hold it by.
void prepareFormPage(QPrinter& printer);

// Paints the form on one page of the printer: the title centred at the top, then each line
// as its label and its value, the value wrapped beside the label. A form too long for the
// page is set in a smaller type until it fits. False when the printer cannot be opened.
bool paintForm(QPrinter& printer, const PrintedForm& form);

}  // namespace tamrivo
