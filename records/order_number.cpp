#include "records/order_number.h"

#include "base/date_format.h"
#include "base/date_time.h"
#include "base/text_ops.h"
#include "base/value_text.h"
#include "records/database_queries.h"

namespace tamrivo {

Text newOrderNumber(Database& database) {
    const Text stamp = formatDateTime(currentDateTime(), "yyyyMMddHHmmss");
    const double serial = static_cast<double>(maxId(database, "b_zulin", "id")) + 1000;
    return stamp + "-" + rightText("00000000" + toText(serial), 8);
}

}  // namespace tamrivo
