#include "app/overdue_reports.h"

#include "base/date_format.h"
#include "base/date_time.h"
#include "records/guest_register.h"

namespace tamrivo {

Text overdueReportsText(Database& database) {
    const auto overdue =
        overdueForeignReports(database, formatDateTime(currentDateTime(), "yyyy-MM-dd HH:mm:ss"));
    if (overdue.empty()) {
        return {};
    }
    Text text = "外国住客入住超过24小时未上报:";
    for (std::size_t i = 0; i < overdue.size(); ++i) {
        text += (i == 0 ? " " : "; ") + overdue[i].room + " " + overdue[i].name;
    }
    return text;
}

}  // namespace tamrivo
