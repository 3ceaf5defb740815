// Whole files replaced beside their target: never a part at the target, never a write
// through a link, never a file replaced that appeared meanwhile.

#include "base/replacement_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/file_contents.h"
#include "tests/support/temporary_folder.h"

namespace tamrivo::testing {
namespace {

namespace fs = std::filesystem;

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ReplacementFiles : public ::testing::Test {
protected:
    TemporaryFolder folder;
    fs::path target = folder.path() / "rooms.csv";
};

TEST_F(ReplacementFiles, TheTargetIsOldUntilCommitThenWholeAndNothingIsLeftBeside) {
    writeFile(target, "old");
    ReplacementFile file;
    ASSERT_FALSE(file.create(target, 0640));
    EXPECT_EQ(file.path().parent_path(), folder.path());
    EXPECT_NE(file.path().filename().string().find(kPartialMarker), std::string::npos);
    ASSERT_FALSE(file.write(bytesOf("new contents")));
    EXPECT_EQ(readFile(target), "old");
    ASSERT_FALSE(file.commit());
    EXPECT_EQ(readFile(target), "new contents");
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"rooms.csv"});
}

TEST_F(ReplacementFiles, AnUncommittedFileIsRemovedAndTheTargetKept) {
    writeFile(target, "old");
    {
        ReplacementFile file;
        ASSERT_FALSE(file.create(target));
        ASSERT_FALSE(file.write(bytesOf("half")));
    }
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"rooms.csv"});
}

// A link planted at the target is replaced as a name; the file it points at is untouched.
TEST_F(ReplacementFiles, ALinkAtTheTargetIsReplacedNotWrittenThrough) {
    const fs::path victim = folder.path() / "victim";
    writeFile(victim, "someone else's");
    fs::create_symlink(victim, target);
    ASSERT_FALSE(writeWholeFile(target, bytesOf("export")));
    EXPECT_FALSE(fs::is_symlink(target));
    EXPECT_EQ(readFile(target), "export");
    EXPECT_EQ(readFile(victim), "someone else's");
}

// A file that appears at the target while a new one is written is never replaced.
TEST_F(ReplacementFiles, ANewTargetThatAppearedMeanwhileIsKept) {
    ReplacementFile file;
    ASSERT_FALSE(file.create(target));
    ASSERT_FALSE(file.write(bytesOf("backup")));
    writeFile(target, "appeared meanwhile");
    EXPECT_EQ(file.commit(ReplacementFile::Target::MustBeNew),
              std::make_error_code(std::errc::file_exists));
    EXPECT_EQ(readFile(target), "appeared meanwhile");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"rooms.csv"});

    const fs::path fresh = folder.path() / "fresh.db";
    ReplacementFile second;
    ASSERT_FALSE(second.create(fresh));
    ASSERT_FALSE(second.write(bytesOf("backup")));
    ASSERT_FALSE(second.commit(ReplacementFile::Target::MustBeNew));
    EXPECT_EQ(readFile(fresh), "backup");
}

// A file the user makes is as open as their umask lets new files be, and never executable;
// a mode given is kept whatever the umask.
TEST_F(ReplacementFiles, AUsersFileFollowsTheUmaskAndAGivenModeStaysAsGiven) {
    for (const auto& [mask, expected] :
         {std::pair<mode_t, mode_t>{0, 0666}, {022, 0644}, {077, 0600}, {0111, 0666}}) {
        const mode_t saved = ::umask(mask);
        EXPECT_EQ(userFileMode(), expected) << mask;
        const std::error_code written = writeWholeFile(target, bytesOf("x"));
        const std::error_code given = writeWholeFile(folder.path() / "served", bytesOf("x"), 0644);
        ::umask(saved);
        ASSERT_FALSE(written);
        ASSERT_FALSE(given);
        EXPECT_EQ(fs::status(target).permissions(), fs::perms(expected)) << mask;
        EXPECT_EQ(fs::status(folder.path() / "served").permissions(), fs::perms(0644)) << mask;
    }
}

TEST_F(ReplacementFiles, AFolderThatCannotBeWrittenIsReportedWithItsReason) {
    EXPECT_EQ(writeWholeFile(folder.path() / "missing" / "file", bytesOf("x")),
              std::make_error_code(std::errc::no_such_file_or_directory));
    EXPECT_EQ(syncFolder(folder.path() / "missing"),
              std::make_error_code(std::errc::no_such_file_or_directory));
    EXPECT_FALSE(syncFolder(folder.path()));
}

}  // namespace
}  // namespace tamrivo::testing
