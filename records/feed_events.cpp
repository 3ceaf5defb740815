#include "records/feed_events.h"

#include <ctime>
#include <optional>
#include <set>
#include <string>

#include "base/date_time.h"
#include "base/text_encoding.h"
#include "records/ical_handles.h"

namespace tamrivo {
namespace {

// Longer than this an event is no stay: a platform's "closed for ever" or a broken date.
constexpr std::int64_t kLongestStay = 366;
// Summaries are shown in the calendar's lists; past this they are cut, as are UIDs past theirs.
constexpr std::size_t kSummaryCharacters = 120;
constexpr std::size_t kUidCharacters = 255;

// Compared with the feed's UTF-8 summaries, so UTF-8 whatever the literals' character set.
constexpr std::u8string_view kBlockWords[] = {
    u8"not available", u8"unavailable", u8"blocked", u8"closed", u8"不可预订", u8"不可订",
    u8"不可用",        u8"已关闭",      u8"关房",    u8"已屏蔽", u8"房东自留",
};

bool looksLikeCalendar(std::string_view ics) {
    if (ics.starts_with("\xEF\xBB\xBF")) {
        ics.remove_prefix(3);
    }
    const auto start = ics.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && ics.substr(start).starts_with("BEGIN:VCALENDAR");
}

std::optional<std::int64_t> dayOf(int year, int month, int day) {
    const auto value = fromCalendar({year, month, day, 0, 0, 0});
    return value ? std::optional(dayNumber(*value)) : std::nullopt;
}

// The local date a time falls on; a date, or a time without a zone, as written.
std::optional<std::int64_t> localDay(const icaltimetype& time) {
    if (icaltime_is_null_time(time) || !icaltime_is_valid_time(time)) {
        return std::nullopt;
    }
    if (time.is_date || time.zone == nullptr) {
        return dayOf(time.year, time.month, time.day);
    }
    const std::time_t moment = icaltime_as_timet_with_zone(time, time.zone);
    std::tm local{};
    if (localtime_r(&moment, &local) == nullptr) {
        return std::nullopt;
    }
    return dayOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

bool hasEnd(icalcomponent* event) {
    return icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY) != nullptr ||
           icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY) != nullptr;
}

// The nights the event holds, or nothing when it is to be skipped.
std::optional<FeedEvent> eventNights(icalcomponent* event) {
    if (!hasEnd(event)) {
        return std::nullopt;
    }
    const icaltimetype start = icalcomponent_get_dtstart(event);
    const icaltimetype end = icalcomponent_get_dtend(event);
    const auto arrival = localDay(start);
    auto departure = localDay(end);
    if (!arrival || !departure || icaltime_compare(end, start) <= 0) {
        return std::nullopt;
    }
    // A timed event that ends on the day it starts still takes that night.
    if (!start.is_date && *departure == *arrival) {
        *departure = *arrival + 1;
    }
    if (*departure <= *arrival || *departure - *arrival > kLongestStay) {
        return std::nullopt;
    }
    FeedEvent nights;
    nights.arrival = *arrival;
    nights.departure = *departure;
    return nights;
}

Text asciiLower(std::string_view text) {
    Text lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

// The length of the UTF-8 sequence a lead byte starts, 0 for a byte that leads none.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    return lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
}

bool continues(std::string_view text, std::size_t at, std::size_t length) {
    if (length == 0 || at + length > text.size()) {
        return false;
    }
    for (std::size_t next = at + 1; next < at + length; ++next) {
        if ((static_cast<unsigned char>(text[next]) & 0xC0) != 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

Text gbkApproximation(std::string_view utf8, std::size_t maxCharacters) {
    Text gbk;
    std::size_t characters = 0;
    for (std::size_t at = 0; at < utf8.size() && characters < maxCharacters; ++characters) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        const std::size_t length = sequenceLength(lead);
        if (!continues(utf8, at, length)) {
            gbk += '?';
            ++at;
            continue;
        }
        if (length == 1) {
            gbk += lead < 0x20 || lead == 0x7F ? ' ' : static_cast<char>(lead);
        } else {
            const Text converted = utf8ToGbk(utf8.substr(at, length));
            gbk += converted.empty() ? Text("?") : converted;
        }
        at += length;
    }
    return gbk;
}

bool isBlockSummary(std::string_view summary) {
    const Text lower = asciiLower(summary);
    for (const std::u8string_view word : kBlockWords) {
        if (lower.find(reinterpret_cast<const char*>(word.data()), 0, word.size()) != Text::npos) {
            return true;
        }
    }
    return false;
}

ParsedFeed parseFeed(std::string_view ics) {
    ParsedFeed feed;
    if (!looksLikeCalendar(ics)) {
        feed.error = "不是iCalendar日历";
        return feed;
    }
    const std::string text(ics);
    const IcalComponent root(icalparser_parse_string(text.c_str()));
    if (!root) {
        feed.error = "iCalendar日历无法读取";
        return feed;
    }
    std::set<Text> seen;
    for (icalcomponent* event =
             icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT);
         event != nullptr;
         event = icalcomponent_get_next_component(root.get(), ICAL_VEVENT_COMPONENT)) {
        if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) {
            ++feed.cancelled;
            continue;
        }
        const char* uid = icalcomponent_get_uid(event);
        auto nights = eventNights(event);
        if (uid == nullptr || *uid == '\0' || !nights || !seen.insert(uid).second) {
            ++feed.skipped;
            continue;
        }
        const char* summary = icalcomponent_get_summary(event);
        nights->uid = gbkApproximation(uid, kUidCharacters);
        nights->summary = gbkApproximation(summary != nullptr ? summary : "", kSummaryCharacters);
        nights->kind = summary != nullptr && isBlockSummary(summary) ? schema::kOutsideBlock
                                                                     : schema::kOutsideBooking;
        feed.events.push_back(std::move(*nights));
    }
    return feed;
}

}  // namespace tamrivo
