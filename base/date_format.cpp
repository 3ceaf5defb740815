#include "base/date_format.h"

#include <array>

#include "base/date_time.h"
#include "base/gbk_chars.h"

namespace tamrivo {
namespace {

struct PictureElement {
    std::string_view letters;
    int width;  // digits at least; shorter numbers get leading zeros
    int (*field)(const CalendarTime&);
};

int twelveHour(const CalendarTime& time) {
    return time.hour % 12 == 0 ? 12 : time.hour % 12;
}

// Longer forms first, so "yyyy" is not read as "yy" twice.
constexpr std::array<PictureElement, 14> kElements{{
    {"yyyy", 4, [](const CalendarTime& time) { return time.year; }},
    {"yy", 2, [](const CalendarTime& time) { return time.year % 100; }},
    {"MM", 2, [](const CalendarTime& time) { return time.month; }},
    {"M", 1, [](const CalendarTime& time) { return time.month; }},
    {"dd", 2, [](const CalendarTime& time) { return time.day; }},
    {"d", 1, [](const CalendarTime& time) { return time.day; }},
    {"HH", 2, [](const CalendarTime& time) { return time.hour; }},
    {"H", 1, [](const CalendarTime& time) { return time.hour; }},
    {"hh", 2, twelveHour},
    {"h", 1, twelveHour},
    {"mm", 2, [](const CalendarTime& time) { return time.minute; }},
    {"m", 1, [](const CalendarTime& time) { return time.minute; }},
    {"ss", 2, [](const CalendarTime& time) { return time.second; }},
    {"s", 1, [](const CalendarTime& time) { return time.second; }},
}};

const PictureElement* elementAt(std::string_view picture, std::size_t pos) {
    for (const PictureElement& element : kElements) {
        if (picture.substr(pos, element.letters.size()) == element.letters) {
            return &element;
        }
    }
    return nullptr;
}

void appendNumber(Text& out, int number, int width) {
    const Text digits = std::to_string(number);
    if (static_cast<int>(digits.size()) < width) {
        out.append(width - digits.size(), '0');
    }
    out += digits;
}

}  // namespace

Text formatDateTime(DateTime value, std::string_view picture) {
    if (picture.empty()) {
        picture = kDefaultDateTimePicture;
    }
    const CalendarTime time = toCalendar(value);
    Text out;
    std::size_t pos = 0;
    while (pos < picture.size()) {
        const PictureElement* element = elementAt(picture, pos);
        if (element != nullptr) {
            appendNumber(out, element->field(time), element->width);
            pos += element->letters.size();
        } else {
            // Copied whole, so a trail byte that happens to be a picture letter stays put.
            const std::size_t size = charSizeAt(picture, pos);
            out.append(picture.substr(pos, size));
            pos += size;
        }
    }
    return out;
}

}  // namespace tamrivo
