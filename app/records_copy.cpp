#include "app/records_copy.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "app/schema.h"
#include "ui/text_encoding.h"

namespace tamrivo {
namespace {

std::string native(const Text& gbk) {
    return gbkToUtf8(gbk);
}

// Creating the file here first gives the system's own reason (permission, a full disk, a
// read-only medium) when it cannot be written, which the library would not tell.
std::error_code createWritable(const std::filesystem::path& file) {
    const int descriptor = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        return {errno, std::generic_category()};
    }
    ::close(descriptor);
    return {};
}

}  // namespace

Text databasePathText(const std::filesystem::path& file) {
    return utf8ToGbk(file.string());
}

std::string openRecords(Database& database, const std::filesystem::path& file) {
    const Text path = databasePathText(file);
    if (path.empty()) {
        return "cannot use " + file.string() + ": the path has characters outside GBK";
    }
    if (!database.open(path, schema::kDatabaseKey)) {
        const std::string reason = native(database.errorMessage());
        database.close();
        return "cannot open " + file.string() + ": " + reason;
    }
    return {};
}

std::string copyRecords(Database& source, const std::filesystem::path& destination,
                        const BackupProgress& progress) {
    std::filesystem::path partial = destination;
    partial += ".partial";
    const Text partialText = databasePathText(partial);
    if (partialText.empty()) {
        return "cannot use " + destination.string() + ": the path has characters outside GBK";
    }
    if (const std::error_code error = createWritable(partial)) {
        return "cannot write " + partial.string() + ": " + error.message();
    }
    std::error_code ignored;
    if (!source.backup(partialText, progress, {}, schema::kDatabaseKey)) {
        std::filesystem::remove(partial, ignored);
        return "cannot copy the records into " + partial.string() +
               ": the copy did not complete (the disk may be full)";
    }
    std::error_code error;
    std::filesystem::rename(partial, destination, error);
    if (error) {
        std::filesystem::remove(partial, ignored);
        return "cannot move the copy to " + destination.string() + ": " + error.message();
    }
    syncFolder(destination.parent_path());
    return {};
}

}  // namespace tamrivo
