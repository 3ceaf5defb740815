#include "records/records_copy.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "records/records_file.h"
#include "records/schema.h"

namespace tamrivo {
namespace {

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

void syncFolder(const std::filesystem::path& folder) {
    const std::filesystem::path path = folder.empty() ? "." : folder;
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

}  // namespace tamrivo
