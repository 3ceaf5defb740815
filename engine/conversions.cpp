#include "engine/conversions.h"

#include <cmath>

#include "base/text_encoding.h"

namespace tamrivo {
namespace {

constexpr qint64 kMillisecondsPerDay = 86'400'000;

QDate oleEpoch() {
    return {1899, 12, 30};
}

}  // namespace

QString toQString(const Text& text) {
    QString converted(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
    const std::size_t units = gbkToUtf16(text, reinterpret_cast<char16_t*>(converted.data()));
    converted.resize(static_cast<qsizetype>(units));
    return converted;
}

QString toQtLines(const Text& text) {
    QString converted = toQString(text);
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return converted;
}

// A character GBK cannot hold (an emoji typed into a box) becomes "?", as in a Windows
// window of code page 936, instead of costing the whole text.
Text fromQString(const QString& text) {
    Text converted = utf8ToGbk(text.toStdString());
    if (!converted.empty() || text.isEmpty()) {
        return converted;
    }
    for (const char32_t codePoint : text.toUcs4()) {
        const Text one = utf8ToGbk(QString::fromUcs4(&codePoint, 1).toStdString());
        converted += one.empty() ? Text("?") : one;
    }
    return converted;
}

bool holdsOnlyGbk(const QString& text) {
    return text.isEmpty() || !utf8ToGbk(text.toStdString()).empty();
}

Text fromQtLines(const QString& text) {
    QString windowsLines = text;
    windowsLines.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return fromQString(windowsLines);
}

// Before the epoch the whole days count backwards but the fraction still counts forward
// from midnight: -1.25 is 1899-12-29 06:00.
QDateTime toQDateTime(DateTime value) {
    const double whole = std::trunc(value.days);
    qint64 milliseconds = std::llround(std::fabs(value.days - whole) * kMillisecondsPerDay);
    QDate date = oleEpoch().addDays(static_cast<qint64>(whole));
    if (milliseconds >= kMillisecondsPerDay) {
        date = date.addDays(1);
        milliseconds -= kMillisecondsPerDay;
    }
    return {date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(milliseconds))};
}

DateTime fromQDateTime(const QDateTime& value) {
    const qint64 whole = oleEpoch().daysTo(value.date());
    const double fraction =
        static_cast<double>(value.time().msecsSinceStartOfDay()) / kMillisecondsPerDay;
    return {whole >= 0 ? static_cast<double>(whole) + fraction
                       : static_cast<double>(whole) - fraction};
}

}  // namespace tamrivo
