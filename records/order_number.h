#pragma once

#include "base/value_types.h"
#include "data/database.h"

namespace tamrivo {

// A new order number: the moment as yyyyMMddHHmmss, "-", and an 8-digit serial made of the
// largest lease id plus 1000 (00000999 when the leases cannot be read).
Text newOrderNumber(Database& database);

}  // namespace tamrivo
