#include "records/records_file.h"

#include "base/text_encoding.h"
#include "data/key_derivation.h"
#include "records/schema.h"

namespace tamrivo {
namespace {

// Backups, the program and the records tool each read and write the file through connections
// of their own; one that meets another's short transaction waits for it rather than failing.
constexpr int kBusyTimeoutMilliseconds = 5000;

}  // namespace

std::filesystem::path recordsFolder(const std::filesystem::path& programFolder) {
    return programFolder / schema::kDatabaseFolder;
}

std::filesystem::path recordsFile(const std::filesystem::path& programFolder) {
    return recordsFolder(programFolder) / schema::kDatabaseFile;
}

Text databasePathText(const std::filesystem::path& file) {
    return utf8ToGbk(file.string());
}

std::string openRecords(Database& database, const std::filesystem::path& file) {
    const Text path = databasePathText(file);
    if (path.empty()) {
        return "cannot use " + file.string() + ": the path has characters outside GBK";
    }
    if (!openWithDerivedKey(database, path, schema::kDatabaseKey) ||
        !database.setBusyTimeout(kBusyTimeoutMilliseconds)) {
        return "cannot open " + file.string() + ": " + gbkToUtf8(database.errorMessage());
    }
    return {};
}

}  // namespace tamrivo
