#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "net/updater/install_plan.h"

namespace tamrivo {

// The updater's work folder inside the program folder: the package unpacked (staging), the
// files it replaces (backup) and the journal of the changes, so that a run killed half-way
// can be undone by the next one.
class InstallWork {
public:
    explicit InstallWork(const std::filesystem::path& programFolder);

    std::filesystem::path staged(const std::filesystem::path& relative) const;
    std::filesystem::path backedUp(const std::filesystem::path& relative) const;

    // Makes an empty work folder with its staging folder; false when it cannot.
    bool create() const;
    // Writes the steps down for good before the first change; false when it cannot.
    bool writeJournal(const std::vector<InstallStep>& steps) const;
    // Marks every change made for good: from here on nothing is undone.
    bool markCommitted() const;
    void remove() const;

    // Puts back what the steps changed, last first: each replaced file from its backup, each
    // new file and folder taken away. Safe to repeat, and for steps not taken at all. The
    // names (UTF-8) of the files it could not put back.
    std::vector<std::string> undo(const std::vector<InstallStep>& steps) const;

    // Finishes what an earlier run left: undoes an install killed before it was committed,
    // then removes the work folder. The names of the files that could not be put back.
    std::vector<std::string> recover() const;

private:
    std::filesystem::path journal() const;
    std::optional<std::vector<InstallStep>> readUncommitted() const;

    std::filesystem::path program_;
    std::filesystem::path work_;
};

}  // namespace tamrivo
