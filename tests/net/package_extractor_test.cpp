#include "net/updater/package_extractor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/support/file_contents.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_package.h"
#include "ui/text_encoding.h"

namespace tamrivo {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using testing::folderEntry;
using ::testing::IsEmpty;
using testing::linkEntry;
using testing::PackageEntry;
using testing::readFile;
using testing::TemporaryFolder;

std::string utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

mode_t permissionsOf(const fs::path& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

// Everything in the folder, as paths relative to it, sorted.
std::vector<std::string> contentsOf(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
        names.push_back(fs::relative(item.path(), folder).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class PackageExtractorTest : public ::testing::Test {
protected:
    PackageExtractorTest() { fs::create_directory(program); }

    ExtractionReport extract(const std::vector<PackageEntry>& entries) {
        testing::writePackage(package, entries);
        return extractPackage(package, program);
    }

    TemporaryFolder folder;
    fs::path package = folder.path() / "up.tmp";
    fs::path program = folder.path() / "program";
};

TEST_F(PackageExtractorTest, WritesEveryEntryIntoItsFolders) {
    const std::string gbkName = "图片/房间.png";  // unmarked, as a Chinese Windows stores it
    const ExtractionReport report = extract({
        {"tamrivo", "program v2", S_IFREG | 0755},
        folderEntry("Data/"),
        {utf8(u8"Data/说明.txt"), "notes"},
        {gbkName, "picture"},
        {"lib/deep/libextra.so", "library"},
        {"docs\\readme.txt", "readme"},
    });

    EXPECT_TRUE(report.opened);
    EXPECT_THAT(report.refused, IsEmpty());
    EXPECT_THAT(report.failed, IsEmpty());
    EXPECT_EQ(readFile(program / "tamrivo"), "program v2");
    EXPECT_EQ(permissionsOf(program / "tamrivo"), 0755U);
    EXPECT_EQ(readFile(program / fs::path(utf8(u8"Data/说明.txt"))), "notes");
    EXPECT_EQ(readFile(program / fs::path(gbkToUtf8(gbkName))), "picture");
    EXPECT_EQ(permissionsOf(program / fs::path(gbkToUtf8(gbkName))), 0644U);
    EXPECT_EQ(readFile(program / "lib/deep/libextra.so"), "library");
    EXPECT_EQ(readFile(program / "docs/readme.txt"), "readme");
    EXPECT_EQ(contentsOf(program).size(), 10U) << "no temporary file is left behind";
}

TEST_F(PackageExtractorTest, ReplacedFileKeepsItsPermissions) {
    testing::writeFile(program / "tamrivo", "program v1");
    fs::permissions(program / "tamrivo", fs::perms(0750));

    const ExtractionReport report = extract({{"tamrivo", "program v2", S_IFREG | 0644}});

    EXPECT_THAT(report.failed, IsEmpty());
    EXPECT_EQ(readFile(program / "tamrivo"), "program v2");
    EXPECT_EQ(permissionsOf(program / "tamrivo"), 0750U);
}

TEST_F(PackageExtractorTest, EntriesThatWouldLandOutsideAreRefused) {
    const std::string absolute = (folder.path() / "absolute.txt").string();
    const ExtractionReport report = extract({
        {"../parent.txt", "x"},
        {absolute, "x"},
        {"sub/../../climb.txt", "x"},
        {"..\\backslash.txt", "x"},
        {"C:/drive.txt", "x"},
        linkEntry("link", "/etc"),
        {"ok.txt", "fine"},
    });

    EXPECT_TRUE(report.opened);
    EXPECT_THAT(report.refused, ElementsAre("../parent.txt", absolute, "sub/../../climb.txt",
                                            "..\\backslash.txt", "C:/drive.txt", "link"));
    EXPECT_THAT(contentsOf(program), ElementsAre("ok.txt"));
    EXPECT_THAT(contentsOf(folder.path()), ElementsAre("program", "program/ok.txt", "up.tmp"));
}

TEST_F(PackageExtractorTest, UnreadablePackagesAreNotOpened) {
    testing::writePackage(package, {{"tamrivo", std::string(4096, 'p')}});
    const std::string whole = readFile(package);
    const std::vector<std::string> damaged = {"", "this is no zip archive at all",
                                              whole.substr(0, whole.size() / 2)};

    for (const std::string& content : damaged) {
        testing::writeFile(package, content);
        EXPECT_FALSE(extractPackage(package, program).opened);
    }
    EXPECT_FALSE(extractPackage(folder.path() / "missing.zip", program).opened);
    EXPECT_THAT(contentsOf(program), IsEmpty());
}

TEST_F(PackageExtractorTest, EntryThatCannotBeReadOrPlacedLeavesWhatWasThere) {
    testing::writeFile(program / "tamrivo", "program v1");
    fs::create_directory(program / "Data");
    testing::writePackage(package, {{"tamrivo", "program v2 with a damaged body"},
                                    {"Data", "a file where a folder stands"},
                                    {"new.txt", "written"}});
    std::string bytes = readFile(package);
    bytes[bytes.find("damaged")] = 'D';  // the stored checksum no longer matches
    testing::writeFile(package, bytes);

    const ExtractionReport report = extractPackage(package, program);

    EXPECT_THAT(report.failed, ElementsAre("tamrivo", "Data"));
    EXPECT_EQ(readFile(program / "tamrivo"), "program v1");
    EXPECT_EQ(readFile(program / "new.txt"), "written");
    EXPECT_THAT(contentsOf(program), ElementsAre("Data", "new.txt", "tamrivo"));
}

}  // namespace
}  // namespace tamrivo
