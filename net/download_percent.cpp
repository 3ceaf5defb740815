#include "net/download_percent.h"

#include <cmath>

namespace tamrivo {

namespace {

// Halves away from zero, with the small nudge that keeps 2.345 from rounding down.
double roundToOneDecimal(double value) {
    const double scaled = std::fabs(value) * 10.0 + 1e-12;
    double whole = std::floor(scaled);
    if (scaled - whole >= 0.5) {
        whole += 1.0;
    }
    return std::copysign(whole / 10.0, value);
}

}  // namespace

int downloadPercent(std::int64_t received, std::int64_t total) {
    const double percent = static_cast<double>(received) / static_cast<double>(total) * 100.0;
    return static_cast<int>(roundToOneDecimal(percent));
}

}  // namespace tamrivo
