#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "update_format/install_step.h"
#include "update_format/update_format.h"

namespace tamrivo {

// The updater's work folder inside the program folder: the package unpacked (staging), a
// second name for each file it replaces (backup) and the journal of the changes, so that a
// run killed half-way can be undone by whatever starts next. Every file of the program
// folder is whole at every moment: the old one or the new one, never none.
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
    // then removes the work folder. The names of the files that could not be put back; a
    // work folder not the user's alone is not followed at all, and is named itself.
    std::vector<std::string> recover() const;

    // Why the work folder may not be followed: the path in it, the folder itself included,
    // that another user owns or could have written (a journal planted to move a file of
    // theirs into the program); nothing when it is the user's alone or absent.
    std::optional<std::filesystem::path> distrusted() const;

private:
    std::filesystem::path journal() const;
    std::optional<std::vector<InstallStep>> readUncommitted() const;

    std::filesystem::path program_;
    std::filesystem::path work_;
};

// Holds the program folder against anything else changing its program files at the same
// time: the updater installing, a start of the program or of the launcher finishing what a
// killed updater left, the launcher bringing the folder up to the package. Waits for it.
class InstallLock {
public:
    explicit InstallLock(const std::filesystem::path& programFolder);
    ~InstallLock();
    InstallLock(const InstallLock&) = delete;
    InstallLock& operator=(const InstallLock&) = delete;

private:
    int descriptor_;
};

// What a start does first: under the lock, undoes an install that was killed before every
// file was in, or clears away one killed after. The names of the files that could not be
// put back (they stay in the work folder for a later start).
std::vector<std::string> finishInterruptedInstall(const std::filesystem::path& programFolder);

}  // namespace tamrivo
