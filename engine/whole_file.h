#pragma once

#include <QString>

#include <functional>

#include "base/value_types.h"

namespace tamrivo {

// Writes a file whole through Qt: `write` fills a new file beside the one asked for (its path
// given), which replaces it only when `write` succeeded, so a failure leaves what was there.
// False when the path (GBK) is empty or the file cannot be made.
bool writeWholeFile(const Text& path, const std::function<bool(const QString& partial)>& write);

}  // namespace tamrivo
