// An updater killed at each of its changes to the program folder, as a power cut or a kill
// would stop it: every file is whole at that moment and VERSION still names the old
// version; what a start does first puts the folder back to one version.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "base/value_types.h"
#include "tests/support/file_contents.h"
#include "tests/support/folder_snapshot.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_package.h"
#include "tools/updater/package_installer.h"
#include "update_format/install_journal.h"

namespace tamrivo {
namespace {

namespace fs = std::filesystem;
using ::testing::AnyOf;
using ::testing::IsEmpty;
using testing::readFile;
using testing::snapshot;

constexpr int kKilled = 9;

class InstallInterruption : public ::testing::Test {
protected:
    InstallInterruption() {
        testing::writePackage(folder.path() / "up.tmp", {{"VERSION", "1.0.0.1\n"},
                                                         {"tamrivo", "program v2"},
                                                         {"notes.txt", "new notes"},
                                                         {"lib/libextra.so", "library"}});
        const std::string bytes = readFile(folder.path() / "up.tmp");
        package.assign(bytes.begin(), bytes.end());
    }

    // A program folder at version 1.0.0.0.
    fs::path freshProgram(const std::string& name) {
        const fs::path program = folder.path() / name;
        fs::create_directories(program / "Data");
        testing::writeFile(program / "Data" / "Data.db", "records");
        testing::writeFile(program / "VERSION", "1.0.0.0\n");
        testing::writeFile(program / "tamrivo", "program v1");
        testing::writeFile(program / "notes.txt", "old notes");
        return program;
    }

    // Installs in a child process that dies just before its change number `at` (counting
    // from 0); the number of changes the install made when it was not killed.
    int installKilledAt(const fs::path& program, int at) {
        const pid_t child = ::fork();
        if (child == 0) {
            int changes = 0;
            const InstallReport report = installPackage(package, program, [&] {
                if (changes++ == at) {
                    ::_exit(kKilled);
                }
            });
            ::_exit(report.outcome == InstallReport::Outcome::Installed ? 100 + changes : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    testing::TemporaryFolder folder;
    Bytes package;
};

TEST_F(InstallInterruption, EveryFileIsWholeAtEveryKillAndAStartPutsTheOldVersionBack) {
    const int untouched = installKilledAt(freshProgram("whole"), -1);
    ASSERT_GT(untouched, 100) << "the install runs through when nobody kills it";
    const int changes = untouched - 100;
    ASSERT_GE(changes, 6);  // lib/, a second name and a rename each for two files, ...

    for (int at = 0; at < changes; ++at) {
        SCOPED_TRACE("killed before change " + std::to_string(at));
        const fs::path program = freshProgram("killed" + std::to_string(at));
        const auto before = snapshot(program);
        ASSERT_EQ(installKilledAt(program, at), kKilled);

        EXPECT_EQ(readFile(program / "VERSION"), "1.0.0.0\n") << "VERSION moves last";
        EXPECT_THAT(readFile(program / "tamrivo"), AnyOf("program v1", "program v2"));
        EXPECT_THAT(readFile(program / "notes.txt"), AnyOf("old notes", "new notes"));
        EXPECT_EQ(readFile(program / "Data" / "Data.db"), "records");

        EXPECT_THAT(finishInterruptedInstall(program), IsEmpty());
        EXPECT_EQ(snapshot(program), before);
    }
}

// Killed after every file is in, its journal closed: the start only clears away its work.
TEST_F(InstallInterruption, AnInstallKilledAfterItsLastChangeIsKept) {
    const fs::path program = freshProgram("done");
    ASSERT_GT(installKilledAt(program, -1), 100);
    EXPECT_THAT(finishInterruptedInstall(program), IsEmpty());
    EXPECT_EQ(readFile(program / "VERSION"), "1.0.0.1\n");
    EXPECT_EQ(readFile(program / "tamrivo"), "program v2");
    EXPECT_FALSE(fs::exists(program / kUpdateWorkFolder));
}

}  // namespace
}  // namespace tamrivo
