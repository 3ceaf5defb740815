#pragma once

#include <cstdint>

namespace tamrivo {

// The progress bar's position for received of total bytes: the percentage rounded to one
// decimal (halves away from zero), then truncated. So 45.66 gives 45 and 99.96 gives 100.
// The total must be above 0.
int downloadPercent(std::int64_t received, std::int64_t total);

}  // namespace tamrivo
