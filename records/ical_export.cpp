#include "records/ical_export.h"

#include <map>

#include "base/date_time.h"
#include "base/replacement_file.h"
#include "base/text_encoding.h"
#include "records/ical_handles.h"
#include "records/planned_departures.h"
#include "records/room_stays.h"
#include "records/statement_scope.h"

namespace tamrivo {
namespace {

icaltimetype icalDate(std::int64_t day) {
    const CalendarTime date = toCalendar(DateTime{static_cast<double>(day)});
    icaltimetype time = icaltime_null_date();
    time.year = date.year;
    time.month = date.month;
    time.day = date.day;
    return time;
}

void addText(icalcomponent* component, icalproperty* property) {
    if (property != nullptr) {
        icalcomponent_add_property(component, property);
    }
}

icalcomponent* eventOf(const ExportedStay& stay, bool withGuests) {
    icalcomponent* event = icalcomponent_new_vevent();
    addText(event, icalproperty_new_uid(stay.uid.c_str()));
    // The stamp is the arrival, not the moment of writing, so an unchanged stay writes the
    // same lines every time and the platforms see nothing new.
    icaltimetype stamp = icalDate(stay.arrival);
    stamp.is_date = 0;
    stamp.zone = icaltimezone_get_utc_timezone();
    addText(event, icalproperty_new_dtstamp(stamp));
    addText(event, icalproperty_new_dtstart(icalDate(stay.arrival)));
    addText(event, icalproperty_new_dtend(icalDate(stay.departure)));
    const Text summary =
        withGuests && !stay.guest.empty() ? stay.guest : Text(stay.booking ? "已预订" : "已入住");
    addText(event, icalproperty_new_summary(gbkToUtf8(summary).c_str()));
    if (withGuests && !stay.contact.empty()) {
        addText(event, icalproperty_new_description(gbkToUtf8(stay.contact).c_str()));
    }
    addText(event, icalproperty_new_transp(ICAL_TRANSP_OPAQUE));
    return event;
}

// Each room's booked bookings that are not over yet.
bool addBookings(Database& database, std::int64_t currentDay,
                 std::map<int, std::vector<ExportedStay>>& stays) {
    StatementScope statement(database,
                             "SELECT `id`, `fangjianid`, `xingming`, `lianxifangshi`, "
                             "`daodariqi`, `likairiqi` FROM `b_yuding` WHERE `zhuangtai`=0 AND "
                             "`likairiqi`>:today ORDER BY `daodariqi`, `id`");
    statement.bindText(":today", dayText(currentDay));
    while (statement.step()) {
        const auto arrival = typedDay(statement.columnView(4));
        const auto departure = typedDay(statement.columnView(5));
        if (arrival && departure && *arrival < *departure) {
            stays[statement.columnInt(1)].push_back(
                {"booking-" + std::to_string(statement.columnInt(0)) + "@tamrivo", *arrival,
                 *departure, statement.columnText(2), statement.columnText(3), true});
        }
    }
    return statement.finish();
}

Text leaseContact(Database& database, int leaseId) {
    return database.queryText("SELECT `lianxifangshi` FROM `b_zulin` WHERE `id`=" +
                              std::to_string(leaseId));
}

}  // namespace

std::string roomCalendarText(const Text& roomAddress, const std::vector<ExportedStay>& stays,
                             bool withGuests) {
    const IcalComponent calendar(icalcomponent_new_vcalendar());
    addText(calendar.get(), icalproperty_new_prodid("-//Tamrivo//Room calendar//ZH"));
    addText(calendar.get(), icalproperty_new_version("2.0"));
    addText(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    icalproperty* name = icalproperty_new_x(gbkToUtf8(roomAddress).c_str());
    if (name != nullptr) {
        icalproperty_set_x_name(name, "X-WR-CALNAME");
        icalcomponent_add_property(calendar.get(), name);
    }
    for (const ExportedStay& stay : stays) {
        icalcomponent_add_component(calendar.get(), eventOf(stay, withGuests));
    }
    return icalText(calendar.get());
}

std::filesystem::path roomCalendarFile(const std::filesystem::path& folder, int roomId) {
    return folder / ("room-" + std::to_string(roomId) + ".ics");
}

CalendarExport exportRoomCalendars(Database& database, const std::filesystem::path& folder,
                                   bool withGuests, std::int64_t currentDay) {
    CalendarExport written;
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    if (made) {
        written.error = "cannot make " + folder.string() + ": " + made.message();
        return written;
    }
    const auto rooms = calendarRooms(database);
    const auto open = openStays(database, currentDay);
    std::map<int, std::vector<ExportedStay>> stays;
    if (!rooms || !open || !addBookings(database, currentDay, stays)) {
        written.error = gbkToUtf8(database.errorMessage());
        return written;
    }
    for (const OpenStay& stay : *open) {
        auto& room = stays[stay.roomId];
        room.insert(
            room.begin(),
            {"stay-" + std::to_string(stay.leaseId) + "@tamrivo", stay.firstDay, stay.heldUntil,
             stay.guest, withGuests ? leaseContact(database, stay.leaseId) : Text(), false});
    }
    for (const CalendarRoom& room : *rooms) {
        const std::string text = roomCalendarText(room.address, stays[room.id], withGuests);
        const std::filesystem::path file = roomCalendarFile(folder, room.id);
        const std::error_code error = writeWholeFile(
            file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        if (error) {
            written.error = "cannot write " + file.string() + ": " + error.message();
            return written;
        }
        ++written.files;
    }
    return written;
}

}  // namespace tamrivo
