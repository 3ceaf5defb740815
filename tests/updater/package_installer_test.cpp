#include "tools/updater/package_installer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <filesystem>

#include "base/text_encoding.h"
#include "base/value_types.h"
#include "tests/support/file_contents.h"
#include "tests/support/folder_snapshot.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_package.h"
#include "tools/updater/install_plan.h"
#include "tools/updater/package_archive.h"
#include "update_format/install_journal.h"

namespace tamrivo {
namespace {

namespace fs = std::filesystem;
using Outcome = InstallReport::Outcome;
using ::testing::ElementsAre;
using testing::folderEntry;
using ::testing::IsEmpty;
using testing::linkEntry;
using testing::PackageEntry;
using testing::permissionsOf;
using testing::readFile;
using testing::snapshot;
using testing::TemporaryFolder;
using ::testing::UnorderedElementsAre;

std::string utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

// The package's bytes, as the updater reads them before checking and unpacking them.
Bytes bytesOf(const fs::path& file) {
    const std::string content = readFile(file);
    return Bytes(content.begin(), content.end());
}

class PackageInstallerTest : public ::testing::Test {
protected:
    PackageInstallerTest() {
        fs::create_directories(program / "Data");
        testing::writeFile(program / "Data" / "Data.db", "the landlord's records");
        testing::writeFile(program / "tamrivo", "program v1");
        fs::permissions(program / "tamrivo", fs::perms(0755));
    }

    InstallReport install(const std::vector<PackageEntry>& entries) {
        testing::writePackage(package, entries);
        return installPackage(bytesOf(package), program);
    }

    // The folder is as it was, and the updater left nothing of its own behind.
    void expectUnchanged(const std::map<std::string, std::string>& before) {
        EXPECT_EQ(snapshot(program), before);
    }

    TemporaryFolder folder;
    fs::path package = folder.path() / "up.tmp";
    fs::path program = folder.path() / "program";
};

TEST_F(PackageInstallerTest, WritesEveryEntryIntoItsFoldersAndLeavesNothingOfItsOwn) {
    const std::string gbkName = "图片/房间.png";  // unmarked, as a Chinese Windows stores it
    const InstallReport report = install({
        {"tamrivo", "program v2"},
        {"UpData", "helper", S_IFREG | 0775},
        {"notes.txt", "notes", S_IFREG | 0640},
        folderEntry("empty/"),
        {utf8(u8"说明/说明.txt"), "notes"},
        {gbkName, "picture"},
        {"lib/deep/libextra.so", "library"},
        {"docs\\readme.txt", "readme", std::nullopt, false, true},
    });

    EXPECT_EQ(report.outcome, Outcome::Installed);
    EXPECT_EQ(readFile(program / "tamrivo"), "program v2");
    EXPECT_EQ(permissionsOf(program / "tamrivo"), 0755U) << "the package does not say";
    EXPECT_EQ(permissionsOf(program / "UpData"), 0755U) << "no one else may write";
    EXPECT_EQ(permissionsOf(program / "notes.txt"), 0640U);
    EXPECT_TRUE(fs::is_directory(program / "empty"));
    EXPECT_EQ(readFile(program / fs::path(utf8(u8"说明/说明.txt"))), "notes");
    EXPECT_EQ(readFile(program / fs::path(gbkToUtf8(gbkName))), "picture");
    EXPECT_EQ(permissionsOf(program / fs::path(gbkToUtf8(gbkName))), 0644U);
    EXPECT_EQ(readFile(program / "lib/deep/libextra.so"), "library");
    EXPECT_EQ(readFile(program / "docs/readme.txt"), "readme");
    EXPECT_EQ(readFile(program / "Data" / "Data.db"), "the landlord's records");
    EXPECT_FALSE(fs::exists(program / kUpdateWorkFolder));
    EXPECT_EQ(snapshot(program).size(), 15U);
}

TEST_F(PackageInstallerTest, ReplacedFileTakesThePermissionsThePackageGives) {
    EXPECT_EQ(install({{"tamrivo", "program v2", S_IFREG | 0644}}).outcome, Outcome::Installed);
    EXPECT_EQ(permissionsOf(program / "tamrivo"), 0644U);
    EXPECT_EQ(install({{"tamrivo", "program v3", S_IFREG | 0755}}).outcome, Outcome::Installed);
    EXPECT_EQ(permissionsOf(program / "tamrivo"), 0755U);
}

TEST_F(PackageInstallerTest, EntriesThatMayNotGoWhereTheySayRefuseTheWholePackage) {
    const auto before = snapshot(program);
    const std::string absolute = (folder.path() / "absolute.txt").string();
    const InstallReport report = install({
        {"new.txt", "fine"},
        {"../parent.txt", "x"},
        {absolute, "x"},
        {"sub/../../climb.txt", "x"},
        {"..\\backslash.txt", "x"},
        {"C:/drive.txt", "x"},
        linkEntry("link", "/etc"),
        {"Data/Data.db", "an empty database"},
        {"data/other.db", "x"},
        {std::string(kUpdateWorkFolder) + "/journal", "x"},
        {"bell\a.txt", "x"},
        {"tamrivo/inside", "a file where a file stands"},
    });

    EXPECT_EQ(report.outcome, Outcome::Refused);
    EXPECT_THAT(
        report.names,
        ElementsAre("../parent.txt", absolute, "sub/../../climb.txt", "..\\backslash.txt",
                    "C:/drive.txt", "link", "Data/Data.db", "data/other.db",
                    std::string(kUpdateWorkFolder) + "/journal", "bell\a.txt", "tamrivo/inside"));
    expectUnchanged(before);
    EXPECT_THAT(snapshot(folder.path()).count("parent.txt"), 0U);
}

// A name that is both a file and a folder leaves no telling which is meant: neither order
// installs one of them, the package is refused whole.
TEST_F(PackageInstallerTest, ANameThatIsBothAFileAndAFolderRefusesTheWholePackage) {
    const auto before = snapshot(program);
    for (const std::vector<PackageEntry>& entries :
         {std::vector<PackageEntry>{{"new.txt", "fine"}, {"dup", "a file"}, folderEntry("dup/")},
          std::vector<PackageEntry>{{"new.txt", "fine"}, folderEntry("dup/"), {"dup", "a file"}}}) {
        const InstallReport report = install(entries);
        EXPECT_EQ(report.outcome, Outcome::Refused);
        EXPECT_FALSE(report.names.empty());
        expectUnchanged(before);
    }
}

TEST_F(PackageInstallerTest, LinksInTheProgramFolderAreNeverFollowed) {
    const fs::path outside = folder.path() / "outside";
    fs::create_directories(outside);
    testing::writeFile(outside / "kept.txt", "not the package's");
    fs::create_directory_symlink(outside, program / "lib");
    const auto before = snapshot(program);

    const InstallReport report =
        install({{"new.txt", "x"}, {"lib/libextra.so", "library"}, folderEntry("lib/")});

    EXPECT_EQ(report.outcome, Outcome::Refused);
    EXPECT_THAT(report.names, UnorderedElementsAre("lib/", "lib/libextra.so"));
    expectUnchanged(before);
    EXPECT_THAT(snapshot(outside), ElementsAre(std::pair{"kept.txt", "420 not the package's"}));

    // A link where a file goes is itself replaced; what it points at stays as it was.
    fs::remove(program / "lib");
    fs::create_symlink(outside / "kept.txt", program / "notes.txt");
    EXPECT_EQ(install({{"notes.txt", "new notes"}}).outcome, Outcome::Installed);
    EXPECT_FALSE(fs::is_symlink(program / "notes.txt"));
    EXPECT_EQ(readFile(program / "notes.txt"), "new notes");
    EXPECT_EQ(readFile(outside / "kept.txt"), "not the package's");
}

TEST_F(PackageInstallerTest, CorruptSecondEntryLeavesTheFolderByteForByteAsBefore) {
    testing::writeFile(program / "notes.txt", "old notes");
    const auto before = snapshot(program);
    testing::writePackage(package, {{"tamrivo", "program v2"},
                                    {"lib/libextra.so", "library with a damaged body"},
                                    {"notes.txt", "new notes"}});
    std::string bytes = readFile(package);
    bytes[bytes.find("damaged")] = 'D';  // the stored checksum no longer matches
    testing::writeFile(package, bytes);

    const InstallReport report = installPackage(bytesOf(package), program);

    EXPECT_EQ(report.outcome, Outcome::Damaged);
    EXPECT_THAT(report.names, ElementsAre("lib/libextra.so"));
    expectUnchanged(before);
}

TEST_F(PackageInstallerTest, EntryExpandingFarBeyondItsDeclaredSizeIsDamaged) {
    const auto before = snapshot(program);
    testing::writePackage(package, {{"tamrivo", "program v2"},
                                    {"bomb", std::string(100 << 20, '\0'), {}, false, true}});
    ASSERT_LT(fs::file_size(package), 1U << 20) << "a small package";
    testing::claimSize(package, 1, 1024);

    const InstallReport report = installPackage(bytesOf(package), program);

    EXPECT_EQ(report.outcome, Outcome::Damaged);
    EXPECT_THAT(report.names, ElementsAre("bomb"));
    expectUnchanged(before);
}

TEST_F(PackageInstallerTest, EntryShorterThanItsDeclaredSizeIsDamaged) {
    const auto before = snapshot(program);
    testing::writePackage(package, {{"tamrivo", std::string(4096, 'p'), {}, false, true}});
    testing::claimSize(package, 0, 4097);

    EXPECT_EQ(installPackage(bytesOf(package), program).outcome, Outcome::Damaged);
    expectUnchanged(before);
}

TEST_F(PackageInstallerTest, PackageThatDoesNotFitTheFreeSpaceIsRefusedBeforeWriting) {
    struct statvfs status {};
    ASSERT_EQ(::statvfs(program.c_str(), &status), 0);
    const std::uint64_t available = std::uint64_t{status.f_bavail} * status.f_frsize;
    constexpr std::uint32_t kClaimed = 0xF0000000;
    const std::size_t entries = available / kClaimed + 2;
    std::vector<PackageEntry> claims;
    for (std::size_t i = 0; i < entries; ++i) {
        claims.push_back({"part" + std::to_string(i), "x", {}, false, true});
    }
    testing::writePackage(package, claims);
    for (std::size_t i = 0; i < entries; ++i) {
        testing::claimSize(package, i, kClaimed);
    }
    const auto before = snapshot(program);

    const InstallReport report = installPackage(bytesOf(package), program);

    EXPECT_EQ(report.outcome, Outcome::NoSpace);
    EXPECT_EQ(report.needed, entries * kClaimed);
    EXPECT_GT(report.needed, report.available);
    expectUnchanged(before);
}

// Its bytes as they are, yet claiming another size: no sound package holds such an entry.
TEST_F(PackageInstallerTest, StoredEntryClaimingAnotherSizeMakesThePackageUnreadable) {
    const auto before = snapshot(program);
    testing::writePackage(package, {{"tamrivo", "program v2"}, {"notes.txt", "new notes"}});
    testing::claimSize(package, 1, 4);

    EXPECT_EQ(installPackage(bytesOf(package), program).outcome, Outcome::Unreadable);
    expectUnchanged(before);
}

TEST_F(PackageInstallerTest, UnreadablePackagesChangeNothing) {
    testing::writePackage(package, {{"tamrivo", std::string(4096, 'p')}});
    const std::string whole = readFile(package);
    const auto before = snapshot(program);
    for (const std::string& content : {std::string(), std::string("this is no zip archive"),
                                       whole.substr(0, whole.size() / 2)}) {
        testing::writeFile(package, content);
        EXPECT_EQ(installPackage(bytesOf(package), program).outcome, Outcome::Unreadable);
    }
    EXPECT_EQ(installPackage(bytesOf(folder.path() / "missing.zip"), program).outcome,
              Outcome::Unreadable);
    expectUnchanged(before);
}

// A run killed while it moved files into place: the next run puts the folder back as it was
// before that run, then installs its own package.
TEST_F(PackageInstallerTest, ARunKilledHalfWayIsUndoneByTheNextRun) {
    testing::writeFile(program / "notes.txt", "old notes");
    const auto before = snapshot(program);
    testing::writePackage(
        package,
        {{"tamrivo", "program v2"}, {"lib/libextra.so", "library"}, {"notes.txt", "new notes"}});
    const Bytes bytes = bytesOf(package);
    const auto archive = PackageArchive::open(bytes);
    ASSERT_TRUE(archive);
    const InstallPlan plan = planInstall(*archive, program);
    ASSERT_THAT(plan.refused, IsEmpty());
    ASSERT_EQ(plan.steps.size(), 4U);  // lib/, then the three files in path order

    // What the killed run had done: everything staged and written down, the new folder
    // made and its file placed, the program moved aside but its new version not yet in.
    const InstallWork work(program);
    ASSERT_TRUE(work.create());
    for (const InstallStep& step : plan.steps) {
        if (step.kind == InstallStep::Kind::PlaceFile) {
            fs::create_directories(work.staged(step.relative).parent_path());
            testing::writeFile(work.staged(step.relative), "staged");
        }
    }
    ASSERT_TRUE(work.writeJournal(plan.steps));
    fs::create_directory(program / "lib");
    fs::rename(work.staged("lib/libextra.so"), program / "lib/libextra.so");
    fs::rename(program / "tamrivo", work.backedUp("tamrivo"));

    EXPECT_THAT(work.recover(), IsEmpty());
    expectUnchanged(before);

    // One that had committed keeps what it did.
    ASSERT_TRUE(work.create());
    ASSERT_TRUE(work.writeJournal(plan.steps));
    testing::writeFile(program / "notes.txt", "new notes");
    ASSERT_TRUE(work.markCommitted());
    EXPECT_EQ(install({{"other.txt", "next package"}}).outcome, Outcome::Installed);
    EXPECT_EQ(readFile(program / "notes.txt"), "new notes");
    EXPECT_EQ(readFile(program / "other.txt"), "next package");
    EXPECT_FALSE(fs::exists(program / kUpdateWorkFolder));
}

// No going back, even to a genuine release: the package must name a version newer than the
// folder's, and its VERSION goes in last.
TEST_F(PackageInstallerTest, PackageNotNewerThanTheFolderIsRefused) {
    testing::writeFile(program / "VERSION", "1.0.0.0\n");
    const auto before = snapshot(program);
    for (const char* version : {"0.9.0.0\n", "1.0.0.0", "1.0\n", "1.1.0-rc1\n"}) {
        const InstallReport report = install({{"tamrivo", "program v0"}, {"VERSION", version}});
        EXPECT_EQ(report.outcome, Outcome::NotNewer) << version;
        expectUnchanged(before);
    }
    const InstallReport unversioned = install({{"tamrivo", "program v0"}});
    EXPECT_EQ(unversioned.outcome, Outcome::NotNewer);
    EXPECT_THAT(unversioned.names, ElementsAre("", "1.0.0.0"));
    expectUnchanged(before);

    EXPECT_EQ(install({{"VERSION", "1.0.0.10\n"}, {"tamrivo", "program v2"}}).outcome,
              Outcome::Installed);
    EXPECT_EQ(readFile(program / "VERSION"), "1.0.0.10\n");
    EXPECT_EQ(readFile(program / "tamrivo"), "program v2");
}

TEST_F(PackageInstallerTest, AForgedJournalCannotReachOutsideTheFolder) {
    testing::writeFile(folder.path() / "victim.txt", "outside");
    const InstallWork work(program);
    ASSERT_TRUE(work.create());
    testing::writeFile(
        program / kUpdateWorkFolder / "journal",
        "F 0 ../victim.txt\nF 0 " + (folder.path() / "victim.txt").string() + "\nD ..\n");

    EXPECT_THAT(work.recover(), IsEmpty());
    EXPECT_EQ(readFile(folder.path() / "victim.txt"), "outside");
    EXPECT_FALSE(fs::exists(program / kUpdateWorkFolder));
}

}  // namespace
}  // namespace tamrivo
