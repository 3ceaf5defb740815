#include "tools/launcher/program_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "base/users_alone.h"
#include "tests/support/file_contents.h"
#include "tests/support/temporary_folder.h"
#include "update_format/install_journal.h"

namespace tamrivo::launcher {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::writeFile;

// A package's pristine program files beside a user's program folder.
class ProgramFolder : public ::testing::Test {
protected:
    ProgramFolder() {
        fs::create_directories(package);
        packageVersion("1.0.0.1");
        writeFile(package / "tamrivo", "program 1.0.0.1");
        fs::permissions(package / "tamrivo", fs::perms(0755));
        fs::copy_file(TAMRIVO_RECORDS_PROGRAM, package / TAMRIVO_RECORDS_TOOL);
        fs::create_directories(package / "help");
        writeFile(package / "help" / "index.txt", "help 1.0.0.1");
    }

    void packageVersion(const std::string& version) {
        writeFile(package / "VERSION", version + "\n");
    }

    // A folder as an earlier start left it, with records of the landlord's.
    void earlierFolder(const std::string& version) {
        fs::create_directories(folder / "Data");
        writeFile(folder / "VERSION", version + "\n");
        writeFile(folder / "tamrivo", "program " + version);
        writeFile(folder / "Data" / "Data.db", "the landlord's records");
        writeFile(folder / "up.tmp", "a package on its way");
    }

    Preparation prepare() { return prepareProgramFolder(package, folder, sync); }

    testing::TemporaryFolder root;
    fs::path package = root.path() / "opt" / "tamrivo";
    fs::path folder = root.path() / "home" / ".local" / "share" / "tamrivo";
    FolderSync sync = FolderSync::KeepNewer;
};

// An updater killed between its changes left a journal: the launcher undoes the change
// before it looks at the folder's version, so the folder's files are all of one version.
TEST_F(ProgramFolder, AnUpdateKilledHalfWayIsUndoneBeforeAnythingElse) {
    earlierFolder("1.0.0.2");  // newer than the package's: kept as it is
    const InstallWork work(folder);
    ASSERT_TRUE(work.create());
    InstallStep step;
    step.relative = "tamrivo";
    step.replaces = true;
    ASSERT_TRUE(work.writeJournal({step}));
    fs::create_hard_link(folder / "tamrivo", work.backedUp("tamrivo"));
    writeFile(work.staged("tamrivo"), "program 1.0.0.3");
    fs::rename(work.staged("tamrivo"), folder / "tamrivo");

    const Preparation preparation = prepare();
    ASSERT_TRUE(preparation.ready) << preparation.message;
    EXPECT_EQ(preparation.change, FolderChange::Kept);
    EXPECT_EQ(readFile(folder / "tamrivo"), "program 1.0.0.2");
    EXPECT_EQ(readFile(folder / "VERSION"), "1.0.0.2\n");
    EXPECT_FALSE(fs::exists(folder / kUpdateWorkFolder));
}

TEST_F(ProgramFolder, TheFirstStartCopiesTheProgramFilesAndCreatesTheDatabase) {
    const Preparation preparation = prepare();
    ASSERT_TRUE(preparation.ready) << preparation.message;
    EXPECT_EQ(preparation.change, FolderChange::Installed);
    EXPECT_EQ(readFile(folder / "VERSION"), "1.0.0.1\n");
    EXPECT_EQ(readFile(folder / "tamrivo"), "program 1.0.0.1");
    EXPECT_EQ(fs::status(folder / "tamrivo").permissions(), fs::perms(0755));
    EXPECT_EQ(readFile(folder / "help" / "index.txt"), "help 1.0.0.1");
    // The records are the user's alone.
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);

    ASSERT_TRUE(needsFirstDatabase(folder));
    std::string message;
    ASSERT_TRUE(createFirstDatabase(folder, message)) << message;
    EXPECT_GT(fs::file_size(folder / "Data" / "Data.db"), 0u);
    EXPECT_FALSE(needsFirstDatabase(folder));
    EXPECT_EQ(prepare().change, FolderChange::Kept);
}

TEST_F(ProgramFolder, AfterAPackageUpgradeTheProgramIsRefreshedAndTheRecordsLeftAlone) {
    earlierFolder("1.0.0.0");
    writeFile(folder / "notes.txt", "the user's own");
    const Preparation preparation = prepare();
    ASSERT_TRUE(preparation.ready) << preparation.message;
    EXPECT_EQ(preparation.change, FolderChange::Refreshed);
    EXPECT_EQ(readFile(folder / "VERSION"), "1.0.0.1\n");
    EXPECT_EQ(readFile(folder / "tamrivo"), "program 1.0.0.1");
    EXPECT_EQ(readFile(folder / "Data" / "Data.db"), "the landlord's records");
    EXPECT_EQ(readFile(folder / "up.tmp"), "a package on its way");
    EXPECT_EQ(readFile(folder / "notes.txt"), "the user's own");
    EXPECT_FALSE(needsFirstDatabase(folder));
}

TEST_F(ProgramFolder, AFolderTheUpdaterBroughtFurtherIsLeftAsItIs) {
    earlierFolder("1.0.1.0");
    EXPECT_EQ(prepare().change, FolderChange::Kept);
    EXPECT_EQ(readFile(folder / "tamrivo"), "program 1.0.1.0");
    EXPECT_EQ(readFile(folder / "VERSION"), "1.0.1.0\n");
    EXPECT_FALSE(fs::exists(folder / "help"));

    // Until a package newer still comes.
    packageVersion("1.0.2.0");
    EXPECT_EQ(prepare().change, FolderChange::Refreshed);
    EXPECT_EQ(readFile(folder / "tamrivo"), "program 1.0.0.1");
    EXPECT_EQ(readFile(folder / "Data" / "Data.db"), "the landlord's records");
}

// Under the package manager the folder follows the package whichever way it moves, so a
// package taken back to an earlier release takes the program back with it.
TEST_F(ProgramFolder, AFolderThatFollowsThePackageIsBroughtToItsVersionEitherWay) {
    sync = FolderSync::FollowPackage;
    earlierFolder("1.0.1.0");
    EXPECT_EQ(prepare().change, FolderChange::Refreshed);
    EXPECT_EQ(readFile(folder / "tamrivo"), "program 1.0.0.1");
    EXPECT_EQ(readFile(folder / "VERSION"), "1.0.0.1\n");
    EXPECT_EQ(readFile(folder / "Data" / "Data.db"), "the landlord's records");
    EXPECT_EQ(prepare().change, FolderChange::Kept);

    writeFile(folder / "VERSION", "1.0.0.0\n");
    EXPECT_EQ(prepare().change, FolderChange::Refreshed);
    writeFile(folder / "VERSION", "garbage\n");
    EXPECT_EQ(prepare().change, FolderChange::Refreshed);
    EXPECT_EQ(readFile(folder / "VERSION"), "1.0.0.1\n");
}

TEST_F(ProgramFolder, AnUnreadableVersionIsRefreshedAndTheSameVersionKept) {
    earlierFolder("1.0.0.1");
    EXPECT_EQ(prepare().change, FolderChange::Kept);
    EXPECT_EQ(readFile(folder / "tamrivo"), "program 1.0.0.1");

    writeFile(folder / "VERSION", "garbage\n");
    EXPECT_EQ(prepare().change, FolderChange::Refreshed);
    EXPECT_EQ(readFile(folder / "VERSION"), "1.0.0.1\n");
}

TEST_F(ProgramFolder, AFileLinkedOutOfTheFolderIsReplacedNotWrittenThrough) {
    earlierFolder("1.0.0.0");
    const fs::path outside = root.path() / "outside";
    writeFile(outside, "not the launcher's");
    fs::remove(folder / "tamrivo");
    fs::create_symlink(outside, folder / "tamrivo");
    ASSERT_TRUE(prepare().ready);
    EXPECT_EQ(readFile(outside), "not the launcher's");
    EXPECT_FALSE(fs::is_symlink(folder / "tamrivo"));
    EXPECT_EQ(readFile(folder / "tamrivo"), "program 1.0.0.1");
}

// Whatever the folder holds is started: a link to another user's folder, or to /, is never
// brought up nor run, and a folder others could write into is closed to them first.
TEST_F(ProgramFolder, OnlyAFolderOfTheUsersOwnIsUsedAndItIsClosedToOthers) {
    const fs::path elsewhere = root.path() / "elsewhere";
    fs::create_directories(elsewhere);
    fs::create_directories(folder.parent_path());
    fs::create_symlink(elsewhere, folder);
    const Preparation linked = prepare();
    EXPECT_FALSE(linked.ready);
    EXPECT_NE(linked.message.find("link"), std::string::npos) << linked.message;
    EXPECT_TRUE(fs::is_empty(elsewhere));

    fs::remove(folder);
    earlierFolder("1.0.0.0");
    fs::permissions(folder, fs::perms::all);
    ASSERT_TRUE(prepare().ready);
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
}

TEST_F(ProgramFolder, AFolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving a folder to another user needs root";
    }
    earlierFolder("1.0.0.0");
    ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
    const Preparation refused = prepare();
    EXPECT_FALSE(refused.ready);
    EXPECT_NE(refused.message.find("another user"), std::string::npos) << refused.message;
    EXPECT_EQ(readFile(folder / "tamrivo"), "program 1.0.0.0");
}

// In a folder once left open to others, another user (uid 65534 here) replaced the program,
// opened a folder, planted a library and made a file of the landlord's writable: each is the
// package's again before anything runs, and what the package does not have is taken away.
TEST_F(ProgramFolder, WhatAnotherUserCouldHaveWrittenIsReplacedFromThePackage) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "a second user as the attacker needs root";
    }
    ASSERT_TRUE(prepare().ready);  // the same version as the package: kept from here on
    writeFile(folder / "tamrivo", "the attacker's program");
    ASSERT_EQ(::chown((folder / "tamrivo").c_str(), 65534, 65534), 0);
    fs::permissions(folder / "help" / "index.txt", fs::perms(0666));
    fs::create_directories(folder / "lib");
    writeFile(folder / "lib" / "libevil.so", "the attacker's library");
    ASSERT_EQ(::chown((folder / "lib").c_str(), 65534, 65534), 0);
    fs::permissions(folder / "help", fs::perms(0777));
    fs::create_directories(folder / "Data");
    writeFile(folder / "Data" / "Data.db", "the landlord's records");

    const Preparation preparation = prepare();
    ASSERT_TRUE(preparation.ready) << preparation.message;
    EXPECT_EQ(preparation.change, FolderChange::Kept);
    EXPECT_EQ(readFile(folder / "tamrivo"), "program 1.0.0.1");
    EXPECT_FALSE(fs::exists(folder / "lib"));
    EXPECT_EQ(readFile(folder / "Data" / "Data.db"), "the landlord's records");
    EXPECT_EQ(firstNotUsersAlone(folder), std::nullopt);
}

// A journal another user planted would move a file of theirs into the program: it is not
// followed, and the launcher says so.
TEST_F(ProgramFolder, AJournalAnotherUserPlantedIsRefusedAndReported) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "a second user as the attacker needs root";
    }
    earlierFolder("1.0.0.1");
    const InstallWork work(folder);
    ASSERT_TRUE(work.create());
    InstallStep step;
    step.relative = "tamrivo";
    step.replaces = true;
    ASSERT_TRUE(work.writeJournal({step}));
    writeFile(work.backedUp("tamrivo"), "the attacker's program");
    ASSERT_EQ(::chown((folder / kUpdateWorkFolder / "journal").c_str(), 65534, 65534), 0);

    const Preparation preparation = prepare();
    EXPECT_NE(preparation.message.find("was not followed"), std::string::npos)
        << preparation.message;
    EXPECT_NE(readFile(folder / "tamrivo"), "the attacker's program");
    EXPECT_TRUE(fs::exists(work.backedUp("tamrivo")));
    EXPECT_EQ(work.recover(), std::vector<std::string>{(folder / kUpdateWorkFolder).string()});
}

// The records, and the lock taken beside them, are never reached through a link.
TEST_F(ProgramFolder, ADataFolderThatIsALinkIsRefused) {
    earlierFolder("1.0.0.1");
    const fs::path elsewhere = root.path() / "attacker";
    fs::create_directories(elsewhere);
    fs::rename(folder / "Data", elsewhere / "Data");
    fs::create_symlink(elsewhere / "Data", folder / "Data");
    const Preparation refused = prepare();
    EXPECT_FALSE(refused.ready);
    EXPECT_NE(refused.message.find("is a link"), std::string::npos) << refused.message;
}

// A Data folder of the user's own that others could write (a umask of 002) is closed, not
// refused: the landlord still reaches the records, and nobody else can write beside them.
TEST_F(ProgramFolder, TheUsersOwnDataFolderOpenToOthersIsClosedNotRefused) {
    earlierFolder("1.0.0.1");
    fs::permissions(folder / "Data", fs::perms(0777));
    const Preparation prepared = prepare();
    EXPECT_TRUE(prepared.ready) << prepared.message;
    EXPECT_EQ(fs::status(folder / "Data").permissions() & fs::perms(0022), fs::perms::none);
    EXPECT_TRUE(fs::exists(folder / "Data"));
}

// A subfolder planted as a link would have the refresh rename files into its target.
TEST_F(ProgramFolder, ALinkedSubfolderIsNotWrittenThrough) {
    earlierFolder("1.0.0.0");
    const fs::path outside = root.path() / "outside";
    fs::create_directories(outside);
    fs::create_symlink(outside, folder / "help");
    const Preparation refused = prepare();
    EXPECT_FALSE(fs::exists(outside / "index.txt"));
    EXPECT_NE(refused.message.find("link"), std::string::npos) << refused.message;
    EXPECT_EQ(readFile(folder / "VERSION"), "1.0.0.0\n");
}

TEST_F(ProgramFolder, AFailedFirstCopyIsNotReadyAndIsDoneAgainNextTime) {
    fs::create_directories(folder);
    writeFile(folder / "help", "a file where the package has a folder");
    const Preparation failed = prepare();
    EXPECT_FALSE(failed.ready);
    EXPECT_FALSE(failed.message.empty());
    EXPECT_FALSE(fs::exists(folder / "VERSION"));

    fs::remove(folder / "help");
    const Preparation again = prepare();
    EXPECT_TRUE(again.ready) << again.message;
    EXPECT_EQ(again.change, FolderChange::Installed);
}

TEST(FirstDatabase, OnlyAFolderThatNeverHadRecordsGetsOne) {
    testing::TemporaryFolder folder;
    EXPECT_TRUE(needsFirstDatabase(folder.path()));
    fs::create_directories(folder.path() / "Data");
    EXPECT_TRUE(needsFirstDatabase(folder.path()));
    // Backups but no database: the records went somewhere; never start afresh over them.
    fs::create_directories(folder.path() / "Data" / "backup");
    EXPECT_FALSE(needsFirstDatabase(folder.path()));
}

TEST(FirstDatabase, ItIsMadeByTheFoldersOwnRecordsTool) {
    const std::vector<std::string> command =
        databaseCreationCommand("/home/房东/.local/share/tamrivo");
    const std::vector<std::string> expected{
        std::string("/home/房东/.local/share/tamrivo/") + TAMRIVO_RECORDS_TOOL, "--folder",
        "/home/房东/.local/share/tamrivo", "create"};
    EXPECT_EQ(command, expected);
}

TEST(UserProgramFolder, FollowsTheXdgDataHomeOrElseTheHomeFolder) {
    EXPECT_EQ(userProgramFolder("/data", "/home/a"), fs::path("/data/tamrivo"));
    EXPECT_EQ(userProgramFolder(nullptr, "/home/a"), fs::path("/home/a/.local/share/tamrivo"));
    // A relative XDG_DATA_HOME is to be ignored.
    EXPECT_EQ(userProgramFolder("data", "/home/a"), fs::path("/home/a/.local/share/tamrivo"));
    EXPECT_EQ(userProgramFolder("", "/home/a"), fs::path("/home/a/.local/share/tamrivo"));
    EXPECT_EQ(userProgramFolder(nullptr, nullptr), fs::path());
    EXPECT_EQ(userProgramFolder(nullptr, "relative"), fs::path());
}

}  // namespace
}  // namespace tamrivo::launcher
