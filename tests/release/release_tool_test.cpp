#include "tools/release/release_tool.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/file_contents.h"
#include "tests/support/folder_snapshot.h"
#include "tests/support/temporary_folder.h"
#include "tools/release/signing_keys.h"

namespace tamrivo::release {
namespace {

namespace fs = std::filesystem;

class ReleaseTool : public ::testing::Test {
protected:
    int run(const std::vector<std::string>& arguments) {
        out.str({});
        errors.str({});
        return runReleaseTool(arguments, out, errors);
    }

    std::string file(const char* name) const { return folder.file(name); }

    testing::TemporaryFolder folder;
    std::ostringstream out;
    std::ostringstream errors;
};

TEST_F(ReleaseTool, KeygenWritesAPairAndReplacesOneOnlyWhenForced) {
    ASSERT_EQ(run({"keygen", file("vendor.key"), file("vendor.pub")}), kReleaseDone);
    const std::string privateKey = testing::readFile(file("vendor.key"));
    EXPECT_EQ(testing::permissionsOf(file("vendor.key")), 0600U);
    EXPECT_EQ(testing::permissionsOf(file("vendor.pub")), 0644U);
    EXPECT_EQ(publicKeyOf(privateKey), testing::readFile(file("vendor.pub")));

    EXPECT_EQ(run({"keygen", file("vendor.key"), file("other.pub")}), kReleaseFailed);
    EXPECT_NE(errors.str().find("--force"), std::string::npos) << errors.str();
    EXPECT_EQ(testing::readFile(file("vendor.key")), privateKey);
    EXPECT_FALSE(fs::exists(file("other.pub")));

    EXPECT_EQ(run({"keygen", file("new.key"), file("vendor.pub")}), kReleaseFailed);
    EXPECT_FALSE(fs::exists(file("new.key"))) << "half a pair is taken back";

    EXPECT_EQ(run({"keygen", "--force", file("vendor.key"), file("vendor.pub")}), kReleaseDone);
    EXPECT_NE(testing::readFile(file("vendor.key")), privateKey);
}

// The vendor's update key is what every installed program trusts: a keygen that fails,
// forced or not, leaves the old pair as it was and nothing of its own beside it.
TEST_F(ReleaseTool, AFailedKeygenKeepsTheOldPairWhole) {
    ASSERT_EQ(run({"keygen", file("vendor.key"), file("vendor.pub")}), kReleaseDone);
    const std::string privateKey = testing::readFile(file("vendor.key"));
    const std::string publicKey = testing::readFile(file("vendor.pub"));
    fs::create_directory(file("apt-key"));
    const auto before = testing::snapshot(folder.path());

    EXPECT_EQ(run({"keygen", "--force", "--archive-key", file("apt-key"), file("vendor.key"),
                   file("vendor.pub")}),
              kReleaseFailed);
    EXPECT_NE(errors.str().find("apt-key exists"), std::string::npos) << errors.str();
    EXPECT_EQ(run({"keygen", "--force", file("vendor.key"), file("no-folder/vendor.pub")}),
              kReleaseFailed);
    EXPECT_EQ(run({"keygen", file("other.key"), file("vendor.pub")}), kReleaseFailed);
    EXPECT_EQ(testing::readFile(file("vendor.key")), privateKey);
    EXPECT_EQ(testing::readFile(file("vendor.pub")), publicKey);
    EXPECT_EQ(testing::snapshot(folder.path()), before);

    // A link planted at a key's name is replaced, never written through.
    fs::create_symlink(file("elsewhere"), file("linked.key"));
    ASSERT_EQ(run({"keygen", "--force", file("linked.key"), file("linked.pub")}), kReleaseDone);
    EXPECT_FALSE(fs::is_symlink(file("linked.key")));
    EXPECT_FALSE(fs::exists(file("elsewhere")));
    EXPECT_EQ(testing::permissionsOf(file("linked.key")), 0600U);
}

TEST_F(ReleaseTool, WrongCommandLinesAreUsageErrorsAndHelpIsNot) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"sign"},
        {"keygen", file("only.key")},
        {"keygen", "--strong", file("a"), file("b")},
        {"publish", "--version"},
        {"publish", "--key", "k", "--version", "1", "--base-url", "http://h", "--output", "o",
         "folder"},
        {"publish", "--key", "k", "--version", "1", "--notes", "n", "--notes-file", "f",
         "--base-url", "http://h", "--output", "o", "folder"},
        {"publish", "--key", "k", "--version", "1", "--notes", "n", "--base-url", "http://h",
         "--output", "o"},
    };
    for (const auto& arguments : wrong) {
        EXPECT_EQ(run(arguments), kReleaseUsage) << ::testing::PrintToString(arguments);
        EXPECT_NE(errors.str(), "");
    }
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"--help"}, {"keygen", "--help"}, {"publish", "--help"}}) {
        EXPECT_EQ(run(arguments), kReleaseDone);
        EXPECT_TRUE(out.str().starts_with("Usage: tamrivo-release")) << out.str();
    }
}

TEST_F(ReleaseTool, PublishReadsKeyAndNotesFromFilesAndSaysWhereThePackageIs) {
    ASSERT_EQ(run({"keygen", file("vendor.key"), file("vendor.pub")}), kReleaseDone);
    fs::create_directories(file("program"));
    testing::writeFile(file("program/VERSION"), "2.0\n");
    testing::writeFile(file("notes.txt"), "notes\nover two lines");
    const std::vector<std::string> publish = {
        "publish",         "--key",      file("vendor.key"),
        "--version",       "2.0",        "--notes-file",
        file("notes.txt"), "--base-url", "https://updates.example",
        "--output",        file("site"), file("program")};

    ASSERT_EQ(run(publish), kReleaseDone) << errors.str();
    EXPECT_NE(out.str().find("https://updates.example/tamrivo-2.0.zip"), std::string::npos);
    EXPECT_TRUE(fs::exists(file("site/autoUpdate.php")));

    std::vector<std::string> missingKey = publish;
    missingKey[2] = file("missing.key");
    EXPECT_EQ(run(missingKey), kReleaseFailed);
    EXPECT_NE(errors.str().find("missing.key"), std::string::npos) << errors.str();

    // Options written with an equals sign mean the same, as in the records tool.
    const std::vector<std::string> joined = {"publish",
                                             "--key=" + file("vendor.key"),
                                             "--version=2.0",
                                             "--notes=" + std::string("joined"),
                                             "--base-url=https://updates.example",
                                             "--output=" + file("joined"),
                                             file("program")};
    ASSERT_EQ(run(joined), kReleaseDone) << errors.str();
    EXPECT_TRUE(fs::exists(file("joined/autoUpdate.php")));
}

}  // namespace
}  // namespace tamrivo::release
