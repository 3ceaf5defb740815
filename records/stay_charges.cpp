#include "records/stay_charges.h"

#include <algorithm>
#include <cmath>

namespace tamrivo {

std::int64_t billedNights(DateTime checkIn, DateTime checkOut) {
    const auto firstDay = static_cast<std::int64_t>(std::floor(checkIn.days));
    const auto lastDay = static_cast<std::int64_t>(std::floor(checkOut.days));
    return std::max<std::int64_t>(1, lastDay - firstDay);
}

double roundToFen(double yuan) {
    // A tiny nudge before rounding keeps amounts such as 0.125, stored as 0.12499…, rounding
    // up as the decimal text they came from does.
    const double fen = yuan * 100.0;
    return std::round(fen + std::copysign(1e-7, fen)) / 100.0;
}

StayCharges stayCharges(DateTime checkIn, DateTime checkOut, double rentPerNight, double deposit) {
    StayCharges charges;
    charges.nights = billedNights(checkIn, checkOut);
    charges.rentTotal = roundToFen(static_cast<double>(charges.nights) * rentPerNight);
    charges.deposit = roundToFen(deposit);
    return charges;
}

}  // namespace tamrivo
