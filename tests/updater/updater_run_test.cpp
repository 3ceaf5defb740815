#include "tools/updater/updater_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/file_contents.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_keys.h"
#include "tests/support/test_package.h"

namespace tamrivo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::TemporaryFolder;

class RecordingHost : public UpdaterHost {
public:
    explicit RecordingHost(std::filesystem::path directory) : directory_(std::move(directory)) {}

    void wait(std::chrono::milliseconds time) override { waits.push_back(time.count()); }
    void showMessage(const Text& text, const Text& title) override {
        messages.push_back(text);
        titles.push_back(title);
    }
    std::filesystem::path ownDirectory() override { return directory_; }

    std::vector<long> waits;
    std::vector<Text> messages;
    std::vector<Text> titles;

private:
    std::filesystem::path directory_;
};

class UpdaterRunTest : public ::testing::Test {
protected:
    int run(const std::vector<std::string>& arguments) { return runUpdater(arguments, host); }
    // As the program starts it: the package, the signature the program checked, the key.
    int runSigned(const std::string& signedBytes) {
        return run(
            {package, testing::signatureOf(signedBytes), testing::publisherKeys().publicPem});
    }
    int runSigned() { return runSigned(testing::readFile(package)); }

    TemporaryFolder folder;
    std::string package = folder.file("up.tmp");
    RecordingHost host{folder.path()};
};

TEST_F(UpdaterRunTest, WithoutAPackageItDoesNothing) {
    EXPECT_EQ(run({}), 0);
    EXPECT_THAT(host.waits, IsEmpty());
    EXPECT_THAT(host.messages, IsEmpty());
}

TEST_F(UpdaterRunTest, UnpacksAfterTheProgramHadTimeToEndAndCongratulates) {
    testing::writePackage(package, {{"tamrivo", "program v2"}});

    EXPECT_EQ(runSigned(), 0);

    EXPECT_THAT(host.waits, ElementsAre(3000));
    EXPECT_EQ(testing::readFile(folder.path() / "tamrivo"), "program v2");
    ASSERT_EQ(host.messages.size(), 1U);
    EXPECT_TEXT_EQ(host.messages[0], "恭喜!升级完成!");
    EXPECT_TEXT_EQ(host.titles[0], "恭喜");
}

TEST_F(UpdaterRunTest, PackageThatCannotBeOpenedIsReported) {
    testing::writeFile(package, "not a zip archive");
    EXPECT_NE(runSigned(), 0);
    std::filesystem::remove(package);
    EXPECT_NE(runSigned("not a zip archive"), 0);

    EXPECT_THAT(host.messages, ElementsAre("打开升级文件失败", "打开升级文件失败"));
}

// The updater believes no path: a package swapped after the program checked it (by a
// second copy of the program, say) is refused, even when it is a signed package of its own.
TEST_F(UpdaterRunTest, PackageOtherThanTheOneSignedIsRefusedAndNothingChanges) {
    testing::writePackage(package, {{"tamrivo", "program v2"}});
    const std::string checked = testing::readFile(package);
    testing::writePackage(package, {{"tamrivo", "program planted"}});
    const std::string planted = testing::readFile(package);

    EXPECT_NE(runSigned(checked), 0);
    EXPECT_NE(run({package, testing::signatureOf(planted, testing::strangerKeys()),
                   testing::publisherKeys().publicPem}),
              0);
    EXPECT_NE(run({package}), 0) << "without a signature nothing is installed";

    EXPECT_FALSE(std::filesystem::exists(folder.path() / "tamrivo"));
    const Text refused = "升级失败,程序保持原样。\n升级文件的签名不对,请联系作者";
    EXPECT_THAT(host.messages, ElementsAre(refused, refused, refused));
}

TEST_F(UpdaterRunTest, PackageOlderThanTheFolderIsRefusedWithTheReason) {
    testing::writeFile(folder.path() / "VERSION", "1.0.0.0\n");
    testing::writePackage(package, {{"VERSION", "0.9.0.0\n"}, {"tamrivo", "program v0"}});
    EXPECT_NE(runSigned(), 0);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "tamrivo"));
    EXPECT_THAT(
        host.messages,
        ElementsAre("升级失败,程序保持原样。\n升级文件的版本不比程序新:\n0.9.0.0\n1.0.0.0"));
}

TEST_F(UpdaterRunTest, FailuresSayTheProgramIsAsItWasAndWhy) {
    std::filesystem::create_directory(folder.path() / "ok");
    testing::writePackage(package, {{"../escape.txt", "x"}, {"坏/名字.txt", "x"}, {"ok", "y"}});
    EXPECT_NE(runSigned(), 0);

    testing::writePackage(package, {{"tamrivo", "program with a damaged body"}});
    std::string bytes = testing::readFile(package);
    bytes[bytes.find("damaged")] = 'D';
    testing::writeFile(package, bytes);
    EXPECT_NE(runSigned(), 0);

    ASSERT_EQ(host.messages.size(), 2U);
    EXPECT_TEXT_EQ(host.messages[0],
                   "升级失败,程序保持原样。\n以下文件不能放进程序目录:\n../escape.txt\nok");
    EXPECT_TEXT_EQ(host.messages[1], "升级失败,程序保持原样。\n升级文件已损坏:\ntamrivo");
    EXPECT_THAT(host.titles, ElementsAre("", ""));
}

}  // namespace
}  // namespace tamrivo
