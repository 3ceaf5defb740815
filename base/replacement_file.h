#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>

namespace tamrivo {

// A whole file written beside its target and renamed onto it only once complete and on disk,
// so the target is always either the old file or the new one, never a part.
//
// The file beside is created under a fresh name, exclusively and without following links,
// so nothing planted at a name (a link to another file, a file another program writes) is
// ever written through or adopted. An uncommitted file is removed when the object goes.
class ReplacementFile {
public:
    // What may stand at the target when the new file is put there.
    enum class Target { Replace, MustBeNew };

    ReplacementFile() = default;
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ~ReplacementFile();

    // Creates the file beside the target, named after it with ".partial-" and six random
    // characters, with the given permissions, or those of userFileMode().
    std::error_code create(const std::filesystem::path& target, mode_t mode);
    std::error_code create(const std::filesystem::path& target);

    int descriptor() const { return descriptor_; }
    // The file beside, for writers that want a path rather than a descriptor.
    const std::filesystem::path& path() const { return partial_; }

    std::error_code write(std::span<const std::uint8_t> bytes);

    // Syncs the file, puts it at the target and syncs the folder. With MustBeNew a target
    // that appeared meanwhile is kept and the commit fails with file_exists.
    std::error_code commit(Target target = Target::Replace);

private:
    void discard();

    std::filesystem::path target_;
    std::filesystem::path partial_;
    int descriptor_ = -1;
};

// Writes the bytes as the whole target file through a ReplacementFile.
std::error_code writeWholeFile(const std::filesystem::path& target,
                               std::span<const std::uint8_t> bytes, mode_t mode);
std::error_code writeWholeFile(const std::filesystem::path& target,
                               std::span<const std::uint8_t> bytes);

// The permissions a file the user makes gets from their umask: 0666 less the umask, so it
// is never executable and is shared only as far as the user shares new files.
mode_t userFileMode();

// Whether anything stands at the path, a dangling link included.
bool nameTaken(const std::filesystem::path& path);

// Makes a folder's entries (a rename, a new or removed file) durable.
std::error_code syncFolder(const std::filesystem::path& folder);

// The marker every file beside carries in its name, for cleaning up after a killed writer.
inline constexpr char kPartialMarker[] = ".partial-";

}  // namespace tamrivo
