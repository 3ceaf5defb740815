#include "tools/updater/install_plan.h"

#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "tools/updater/entry_path.h"

namespace tamrivo {

namespace {

namespace fs = std::filesystem;

enum class Found { Nothing, Folder, File, Link };

Found lookAt(const fs::path& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return Found::Nothing;
    }
    if (S_ISLNK(status.st_mode)) {
        return Found::Link;
    }
    return S_ISDIR(status.st_mode) ? Found::Folder : Found::File;
}

// Names with control characters cannot be written down in the journal, nor come from a
// folder the release tool packed.
bool hasControlCharacter(const std::string& name) {
    return std::any_of(name.begin(), name.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// A package made on Unix says what each file's permissions are (the release tool writes
// them), short of anyone's writing but the owner's; one that does not say keeps those of
// the file it replaces, or gets the usual ones.
mode_t permissionsFor(const fs::path& target, std::optional<mode_t> archived) {
    if (archived && S_ISREG(*archived)) {
        return (*archived & 0755) | 0600;
    }
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        return existing.st_mode & 07777;
    }
    return 0644;
}

struct Wanted {
    bool folder = false;
    std::uint64_t index = 0;
    ArchiveEntry entry;
};

class Planner {
public:
    explicit Planner(const fs::path& folder) : folder_(folder) {}

    void want(std::uint64_t index, ArchiveEntry entry) {
        const std::optional<fs::path> relative = entryTarget(entry.name);
        const bool link = entry.unixMode && S_ISLNK(*entry.unixMode);
        if (!relative || link || hasControlCharacter(entry.name) || reservedPlace(*relative)) {
            plan_.refused.push_back(entry.name);
            return;
        }
        const bool folder = isFolderEntry(entry.name);
        // "dup" and "dup/" both: which of the two is meant cannot be told.
        if (const auto earlier = wanted_.find(*relative);
            earlier != wanted_.end() && earlier->second.folder != folder) {
            plan_.refused.push_back(entry.name);
            return;
        }
        wanted_[*relative] = {folder, index, std::move(entry)};
    }

    InstallPlan finish() {
        for (const auto& [relative, wanted] : wanted_) {
            if (!placeable(relative, wanted)) {
                plan_.refused.push_back(wanted.entry.name);
            }
        }
        if (!plan_.refused.empty()) {
            plan_.steps.clear();
            return std::move(plan_);
        }
        for (const fs::path& relative : newFolders_) {
            InstallStep step;
            step.kind = InstallStep::Kind::CreateFolder;
            step.relative = relative;
            plan_.steps.push_back(std::move(step));
        }
        for (const auto& [relative, wanted] : wanted_) {
            if (!wanted.folder && relative != kVersionFileName) {
                placeFile(relative, wanted);
            }
        }
        if (const auto version = wanted_.find(kVersionFileName);
            version != wanted_.end() && !version->second.folder) {
            placeFile(version->first, version->second);
        }
        return std::move(plan_);
    }

private:
    // Every folder on the way must be a real folder or missing (and then made), and the
    // end of the way what the entry is.
    bool placeable(const fs::path& relative, const Wanted& wanted) {
        fs::path way;
        for (const fs::path& part : relative.parent_path()) {
            way /= part;
            if (!folderOrNew(way)) {
                return false;
            }
        }
        if (wanted.folder) {
            return folderOrNew(relative);
        }
        const Found found = lookAt(folder_ / relative);
        return found != Found::Folder && !wantedAsFolder(relative);
    }

    bool folderOrNew(const fs::path& relative) {
        const auto file = wanted_.find(relative);
        if (file != wanted_.end() && !file->second.folder) {
            return false;  // the package itself puts a file there
        }
        switch (lookAt(folder_ / relative)) {
            case Found::Folder:
                return true;
            case Found::Nothing:
                newFolders_.insert(relative);
                return true;
            default:
                return false;
        }
    }

    bool wantedAsFolder(const fs::path& relative) const {
        const auto found = wanted_.find(relative);
        if (found != wanted_.end() && found->second.folder) {
            return true;
        }
        return newFolders_.contains(relative);
    }

    void placeFile(const fs::path& relative, const Wanted& wanted) {
        const fs::path target = folder_ / relative;
        plan_.steps.push_back({.kind = InstallStep::Kind::PlaceFile,
                               .relative = relative,
                               .replaces = lookAt(target) != Found::Nothing,
                               .entryIndex = wanted.index,
                               .entryName = wanted.entry.name,
                               .size = wanted.entry.declaredSize,
                               .permissions = permissionsFor(target, wanted.entry.unixMode)});
        plan_.bytes += wanted.entry.declaredSize;
    }

    const fs::path& folder_;
    std::map<fs::path, Wanted> wanted_;
    std::set<fs::path> newFolders_;  // sorted: a folder comes before those inside it
    InstallPlan plan_;
};

}  // namespace

InstallPlan planInstall(const PackageArchive& archive, const fs::path& folder) {
    Planner planner(folder);
    for (std::uint64_t index = 0; index < archive.entryCount(); ++index) {
        planner.want(index, archive.entry(index));
    }
    return planner.finish();
}

}  // namespace tamrivo
