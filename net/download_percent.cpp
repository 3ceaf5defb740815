#include "net/download_percent.h"

#include "base/number_ops.h"

namespace tamrivo {

int downloadPercent(std::int64_t received, std::int64_t total) {
    const double percent = static_cast<double>(received) / static_cast<double>(total) * 100.0;
    return static_cast<int>(roundNumber(percent, 1));
}

}  // namespace tamrivo
