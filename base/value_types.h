#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

namespace tamrivo {

// A text is a run of GBK bytes; lengths and positions count bytes, positions are 1-based.
using Text = std::string;

// A counted run of bytes; an empty block and no block are the same value.
using Bytes = std::vector<std::uint8_t>;

// An OLE automation date: days since 1899-12-30 00:00, the time of day as the fraction.
struct DateTime {
    double days = 0.0;

    static constexpr double kMinimumDays = -657434.0;  // 100-01-01 00:00:00
    static constexpr double kMaximumDays = 2958465.0;  // 9999-12-31 00:00:00

    friend auto operator<=>(const DateTime&, const DateTime&) = default;
};

}  // namespace tamrivo
