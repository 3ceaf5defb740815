#include "app/records_key.h"

#include <system_error>

#include "base/date_format.h"
#include "base/date_time.h"
#include "base/text_encoding.h"
#include "records/protected_records.h"
#include "records/records_file.h"

namespace tamrivo {

// The records are open, so any re-key has settled: the key file beside them says it all.
RecordsKey recordsKeyOf(App& app) {
    const std::filesystem::path records = recordsFile(gbkToUtf8(app.services.programDirectory()));
    std::error_code error;
    return std::filesystem::exists(keySlotsFile(records), error) ? RecordsKey::Landlords
                                                                 : RecordsKey::BuiltIn;
}

RegisterUser registerUser(App& app) {
    return {app.state.userName, formatDateTime(currentDateTime(), "yyyy-MM-dd HH:mm:ss")};
}

}  // namespace tamrivo
