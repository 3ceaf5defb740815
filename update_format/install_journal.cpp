#include "update_format/install_journal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <system_error>

#include "base/replacement_file.h"
#include "base/users_alone.h"

namespace tamrivo {

namespace {

namespace fs = std::filesystem;

// One line a step: "D <path>" for a new folder, "F <0|1> <path>" for a file placed (1 when
// it replaces one); the line "C" once every change is in.
constexpr char kCommitted[] = "C";

bool present(const fs::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

bool isFolder(const fs::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool writeSynced(const fs::path& path, const std::string& text, int flags) {
    const int descriptor = ::open(path.c_str(), flags | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0) {
        return false;
    }
    const bool written =
        ::write(descriptor, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
        ::fsync(descriptor) == 0;
    return ::close(descriptor) == 0 && written;
}

std::string lineOf(const InstallStep& step) {
    const std::string path = step.relative.generic_string();
    if (step.kind == InstallStep::Kind::CreateFolder) {
        return "D " + path + "\n";
    }
    return std::string("F ") + (step.replaces ? "1 " : "0 ") + path + "\n";
}

std::optional<InstallStep> stepOf(const std::string& line) {
    InstallStep step;
    if (line.starts_with("D ") && line.size() > 2) {
        step.kind = InstallStep::Kind::CreateFolder;
        step.relative = line.substr(2);
    } else if ((line.starts_with("F 0 ") || line.starts_with("F 1 ")) && line.size() > 4) {
        step.replaces = line[2] == '1';
        step.relative = line.substr(4);
    } else {
        return std::nullopt;
    }
    // A journal is only ever written by the updater, but it is a file all the same.
    if (step.relative.is_absolute() ||
        std::any_of(step.relative.begin(), step.relative.end(),
                    [](const fs::path& part) { return part == ".."; })) {
        return std::nullopt;
    }
    return step;
}

}  // namespace

InstallLock::InstallLock(const fs::path& programFolder)
    : descriptor_(::open(programFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (descriptor_ >= 0) {
        while (::flock(descriptor_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
}

InstallLock::~InstallLock() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

std::vector<std::string> finishInterruptedInstall(const fs::path& programFolder) {
    const InstallLock lock(programFolder);
    return InstallWork(programFolder).recover();
}

InstallWork::InstallWork(const fs::path& programFolder)
    : program_(programFolder), work_(programFolder / kUpdateWorkFolder) {}

fs::path InstallWork::staged(const fs::path& relative) const {
    return work_ / "staging" / relative;
}

fs::path InstallWork::backedUp(const fs::path& relative) const {
    return work_ / "backup" / relative;
}

fs::path InstallWork::journal() const {
    return work_ / "journal";
}

bool InstallWork::create() const {
    remove();
    return ::mkdir(work_.c_str(), 0700) == 0 && ::mkdir((work_ / "staging").c_str(), 0700) == 0 &&
           ::mkdir((work_ / "backup").c_str(), 0700) == 0;
}

bool InstallWork::writeJournal(const std::vector<InstallStep>& steps) const {
    std::string text;
    for (const InstallStep& step : steps) {
        text += lineOf(step);
    }
    // Whole or not at all: a journal cut short would undo too little.
    const fs::path unfinished = work_ / "journal.new";
    return writeSynced(unfinished, text, O_CREAT | O_TRUNC) &&
           ::rename(unfinished.c_str(), journal().c_str()) == 0 && !syncFolder(work_);
}

bool InstallWork::markCommitted() const {
    return writeSynced(journal(), std::string(kCommitted) + "\n", O_APPEND);
}

void InstallWork::remove() const {
    std::error_code ignored;
    fs::remove_all(work_, ignored);  // removes links, never what they point at
}

std::vector<std::string> InstallWork::undo(const std::vector<InstallStep>& steps) const {
    std::vector<std::string> notRestored;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        const fs::path target = program_ / step->relative;
        if (step->kind == InstallStep::Kind::CreateFolder) {
            ::rmdir(target.c_str());  // stays when something of the landlord's is in it
            continue;
        }
        const fs::path backup = backedUp(step->relative);
        if (present(backup)) {
            if (::rename(backup.c_str(), target.c_str()) != 0) {
                notRestored.push_back(step->relative.generic_string());
            }
        } else if (!step->replaces && present(target) && !isFolder(target) &&
                   ::unlink(target.c_str()) != 0) {
            notRestored.push_back(step->relative.generic_string());
        }
    }
    return notRestored;
}

std::optional<std::vector<InstallStep>> InstallWork::readUncommitted() const {
    std::ifstream file(journal());
    if (!file) {
        return std::nullopt;  // killed before the first change: nothing to undo
    }
    std::vector<InstallStep> steps;
    std::string line;
    while (std::getline(file, line)) {
        if (line == kCommitted) {
            return std::nullopt;
        }
        if (auto step = stepOf(line)) {
            steps.push_back(std::move(*step));
        }
    }
    return steps;
}

std::optional<fs::path> InstallWork::distrusted() const {
    return isFolder(work_) ? firstNotUsersAlone(work_) : std::nullopt;
}

std::vector<std::string> InstallWork::recover() const {
    if (!isFolder(work_)) {
        return {};
    }
    if (distrusted()) {
        return {work_.string()};
    }
    std::vector<std::string> notRestored;
    if (const auto steps = readUncommitted()) {
        notRestored = undo(*steps);
    }
    if (notRestored.empty()) {
        remove();  // what could not be put back stays in its backup, for a later run
    }
    return notRestored;
}

}  // namespace tamrivo
