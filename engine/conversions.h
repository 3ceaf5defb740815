#pragma once

#include <QDateTime>
#include <QString>

#include "base/value_types.h"

namespace tamrivo {

// Texts cross to Qt as UTF-16. Multi-line controls keep "\r\n" line breaks on the program's
// side and "\n" on Qt's.
QString toQString(const Text& text);
QString toQtLines(const Text& text);
Text fromQString(const QString& text);
// Whether GBK holds every character of the text, so fromQString keeps it as it is.
bool holdsOnlyGbk(const QString& text);
Text fromQtLines(const QString& text);

// OLE automation dates as local date-times, to the millisecond.
QDateTime toQDateTime(DateTime value);
DateTime fromQDateTime(const QDateTime& value);

}  // namespace tamrivo
