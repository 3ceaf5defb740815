#include "app/booking_texts.h"

#include <string>

#include "app/command_messages.h"
#include "records/stored_dates.h"

namespace tamrivo {

Text describeBooking(const Booking& booking) {
    return "预订" + std::to_string(booking.id) + "：" + booking.guest + "，" + booking.arrival +
           " 至 " + booking.departure;
}

Text describeStay(const OpenStay& stay) {
    return stay.guest + "，" + stay.room + "，" + dayText(stay.firstDay) + " 至 " +
           dayText(stay.plannedDeparture);
}

Text bookingRefusal(const BookingOutcome& outcome, const Text& databaseError) {
    switch (outcome.result) {
        case BookingResult::Saved:
            return {};
        case BookingResult::BadDays:
            return "离开日期必须在到达日期之后";
        case BookingResult::BlankGuest:
            return "请填写姓名";
        case BookingResult::PastArrival:
            return "到达日期不能早于今天";
        case BookingResult::HeldByStay:
            return "这些日期房间有客人入住：\r\n" + describeStay(outcome.stay);
        case BookingResult::HeldOutside:
            return "这些日期已被预订平台占用：\r\n" + describeOutsideBooking(outcome.outside);
        case BookingResult::NoRoom:
            return "这个房间不存在或已放弃";
        case BookingResult::Overlaps:
            return "这些日期已被预订：\r\n" + describeBooking(outcome.other);
        case BookingResult::NotBooked:
            return kBookingGone;
        case BookingResult::Failed:
            break;
    }
    return databaseError;
}

}  // namespace tamrivo
