#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tamrivo::launcher {

// The program folder of the user: $XDG_DATA_HOME/tamrivo, or ~/.local/share/tamrivo when
// that is unset or not absolute; empty when neither tells where.
std::filesystem::path userProgramFolder(const char* xdgDataHome, const char* home);

// What bringing a folder up to the package did.
enum class FolderChange {
    Installed,  // it had no program: first start
    Refreshed,  // its version was older than the package's, or unreadable
    Kept,       // the same version, or a newer one the built-in updater brought
};

// Which versions of the folder are kept. A program that updates itself may run ahead of its
// package; one the package manager updates follows the package, forwards and back.
enum class FolderSync { KeepNewer, FollowPackage };

struct Preparation {
    bool ready = false;  // the folder holds the program files to start
    FolderChange change = FolderChange::Kept;
    std::string message;  // what went wrong, when something did
};

// Brings `folder` up to the pristine program files in `programFiles`: copies them all when
// the folder has no VERSION yet or an older (or unreadable) one, or under FollowPackage any
// other one, and leaves a folder of the same (or under KeepNewer a newer) version as it is.
// Data/ is never touched. Each file is replaced whole
// (written beside, then renamed over) and VERSION comes last, so a copy cut short is done
// again at the next start.
Preparation prepareProgramFolder(const std::filesystem::path& programFiles,
                                 const std::filesystem::path& folder, FolderSync sync);

// How the folder's own records tool makes a database with the admin user only.
std::vector<std::string> databaseCreationCommand(const std::filesystem::path& folder);

// True when the folder never had records: no Data/, or an empty one. A Data/ with anything
// in it (a backup, say) but no database is the landlord's to deal with, never replaced.
bool needsFirstDatabase(const std::filesystem::path& folder);

// Runs the records tool to create the folder's first database; false with the reason when
// it could not.
bool createFirstDatabase(const std::filesystem::path& folder, std::string& message);

}  // namespace tamrivo::launcher
