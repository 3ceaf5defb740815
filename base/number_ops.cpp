#include "base/number_ops.h"

#include <cmath>
#include <cstdlib>

namespace tamrivo {

double roundNumber(double value, int places) {
    if (value == 0.0 || !std::isfinite(value)) {
        return value == 0.0 ? 0.0 : value;
    }
    const double factor = std::pow(10.0, std::abs(places));
    if (std::isinf(factor)) {
        return places > 0 ? value : 0.0;  // finer than a double can hold / coarser than any value
    }
    const double magnitude = std::abs(value);
    const double scaled = (places >= 0 ? magnitude * factor : magnitude / factor) + 1e-12;
    if (!std::isfinite(scaled)) {
        return value;
    }
    double whole = std::floor(scaled);
    if (scaled - whole >= 0.5) {
        whole += 1.0;
    }
    if (whole == 0.0) {
        return 0.0;
    }
    const double result = places >= 0 ? whole / factor : whole * factor;
    return std::copysign(result, value);
}

}  // namespace tamrivo
