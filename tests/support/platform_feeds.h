#pragma once
// Calendars shaped like the booking platforms' own feeds, as the sync tests serve and read
// them. UTF-8, as the platforms send them, whatever character set the literals compile to.

#include <string>
#include <string_view>

namespace tamrivo::testing {

inline std::string utf8(std::u8string_view text) {
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}

// CRLF line ends, as RFC 5545 wants them; the feeds below are written with LF.
inline std::string withCrlf(std::string_view lf) {
    std::string crlf;
    for (const char c : lf) {
        if (c == '\n') {
            crlf += '\r';
        }
        crlf += c;
    }
    return crlf;
}

// An Airbnb listing: all-day stays ("Reserved") and a rolling block, a folded description.
inline std::string airbnbFeed() {
    return utf8(
        u8R"(BEGIN:VCALENDAR
PRODID;X-RICAL-TZSOURCE=TZINFO:-//Airbnb Inc//Hosting Calendar 0.8.8//EN
CALSCALE:GREGORIAN
VERSION:2.0
BEGIN:VEVENT
DTEND;VALUE=DATE:20270305
DTSTART;VALUE=DATE:20270301
UID:1418fb94e984-e5b3ad2a6f67b7e28cf5e6dc4d8f3a83@airbnb.com
DESCRIPTION:Reservation URL: https://www.airbnb.com/hosting/reservations/de
 tails/HMABCDEFGH\nPhone Number (Last 4 Digits): 1234
SUMMARY:Reserved
END:VEVENT
BEGIN:VEVENT
DTEND;VALUE=DATE:20270312
DTSTART;VALUE=DATE:20270308
UID:7f6e5d4c3b2a-00112233445566778899aabbccddeeff@airbnb.com
SUMMARY:Reserved
END:VEVENT
BEGIN:VEVENT
DTEND;VALUE=DATE:20270901
DTSTART;VALUE=DATE:20270601
UID:9a8b7c6d5e4f-ffeeddccbbaa99887766554433221100@airbnb.com
SUMMARY:Airbnb (Not available)
END:VEVENT
END:VCALENDAR
)");
}

// A Chinese platform: timed stays in Asia/Shanghai with its VTIMEZONE, UTF-8 summaries, a
// 不可预订 block, a cancelled order and events no stay can be made of.
inline std::string chineseFeed() {
    return utf8(
        u8R"(BEGIN:VCALENDAR
VERSION:2.0
PRODID:-//Tujia//Calendar//ZH
BEGIN:VTIMEZONE
TZID:Asia/Shanghai
BEGIN:STANDARD
DTSTART:19700101T000000
TZOFFSETFROM:+0800
TZOFFSETTO:+0800
TZNAME:CST
END:STANDARD
END:VTIMEZONE
BEGIN:VEVENT
UID:order-20270401-001@tujia.com
DTSTART;TZID=Asia/Shanghai:20270401T140000
DTEND;TZID=Asia/Shanghai:20270403T120000
SUMMARY:途家订单 张三
END:VEVENT
BEGIN:VEVENT
UID:order-20270410-002@tujia.com
DTSTART:20270409T170000Z
DTEND:20270411T030000Z
SUMMARY:途家订单 李四（两晚）
END:VEVENT
BEGIN:VEVENT
UID:closed-20270420@tujia.com
DTSTART;VALUE=DATE:20270420
DTEND;VALUE=DATE:20270422
SUMMARY:不可预订
END:VEVENT
BEGIN:VEVENT
UID:order-20270415-003@tujia.com
STATUS:CANCELLED
DTSTART;VALUE=DATE:20270415
DTEND;VALUE=DATE:20270417
SUMMARY:途家订单 已取消
END:VEVENT
BEGIN:VEVENT
UID:no-end@tujia.com
DTSTART;VALUE=DATE:20270501
SUMMARY:没有结束日期
END:VEVENT
BEGIN:VEVENT
UID:backwards@tujia.com
DTSTART;VALUE=DATE:20270510
DTEND;VALUE=DATE:20270505
SUMMARY:结束早于开始
END:VEVENT
BEGIN:VEVENT
UID:too-long@tujia.com
DTSTART;VALUE=DATE:20270101
DTEND;VALUE=DATE:20290101
SUMMARY:两年
END:VEVENT
END:VCALENDAR
)");
}

}  // namespace tamrivo::testing
