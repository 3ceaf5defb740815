#include "app/booking_texts.h"

#include <string>

#include "app/command_messages.h"

namespace tamrivo {

Text describeBooking(const Booking& booking) {
    return "预订" + std::to_string(booking.id) + "：" + booking.guest + "，" + booking.arrival +
           " 至 " + booking.departure;
}

Text bookingRefusal(const BookingOutcome& outcome, const Text& databaseError) {
    switch (outcome.result) {
        case BookingResult::Saved:
            return {};
        case BookingResult::BadDays:
            return "离开日期必须在到达日期之后";
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
