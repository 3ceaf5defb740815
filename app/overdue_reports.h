#pragma once

#include "data/database.h"

namespace tamrivo {

// Foreign guests not reported a day after arrival, as the main window and the room calendar
// show them in red: "外国住客入住超过24小时未上报: 房 姓名; ..." or empty when there are none.
Text overdueReportsText(Database& database);

}  // namespace tamrivo
