#include "tools/release/apt_repository.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "tests/support/file_contents.h"
#include "tests/support/temporary_folder.h"
#include "tools/command_line/child_process.h"

namespace tamrivo::release {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::readFile;
using testing::writeFile;

// A publisher's repository key, and a folder of Debian packages as build-package.sh leaves.
class AptRepository : public ::testing::Test {
protected:
    AptRepository() {
        fs::create_directories(packages);
        EXPECT_EQ(makeArchiveKey(key), "");
    }

    // A package of the name and version that dpkg-deb would take for the real one.
    void debianPackage(const std::string& version, const std::string& content = "first") {
        const fs::path tree = folder.path() / ("tree-" + version);
        fs::create_directories(tree / "DEBIAN");
        fs::create_directories(tree / "usr/share/doc/tamrivo");
        writeFile(tree / "DEBIAN/control",
                  "Package: tamrivo\nVersion: " + version +
                      "\nSection: misc\nPriority: optional\nArchitecture: amd64\nMaintainer: "
                      "Tamrivo developers "
                      "<developers@tamrivo.org>\nDescription: room letting\n test package\n");
        writeFile(tree / "usr/share/doc/tamrivo/copyright", content);
        ASSERT_EQ(runAndWait({"dpkg-deb", "--build", "--root-owner-group", tree.string(),
                              (packages / ("tamrivo_" + version + "_amd64.deb")).string()}),
                  0);
    }

    std::string publishRelease(const std::string& version = "1.0.0.1") {
        return publishToAptRepository(packages, key, version, output);
    }

    fs::path suite(const std::string& name) const { return output / "apt" / "dists" / name; }
    std::string packagesIndex(const std::string& name) const {
        return readFile(suite(name) / "main/binary-amd64/Packages");
    }
    // What Debian 13's apt asks of a signature, and Debian 12's.
    bool signedForApt(const std::string& name) const {
        const std::string keyring = (key / kArchiveKeyringName).string();
        const std::string release = (suite(name) / "Release").string();
        return runAndWait({"sqv", "--keyring", keyring, release + ".gpg", release}) == 0 &&
               runAndWait({"gpgv", "--quiet", "--keyring", keyring,
                           (suite(name) / "InRelease").string()}) == 0;
    }

    testing::TemporaryFolder folder;
    fs::path key = folder.path() / "archive-key";
    fs::path packages = folder.path() / "packages";
    fs::path output = folder.path() / "site";
};

TEST_F(AptRepository, EachReleasesPackageLandsInItsOwnSignedSuite) {
    debianPackage("1.0.0.1~deb12");
    debianPackage("1.0.0.1~deb13");
    debianPackage("1.0.0.0~deb13");  // an earlier release's, left where it was built
    ASSERT_EQ(publishRelease(), "");

    EXPECT_THAT(packagesIndex("bookworm"), HasSubstr("Version: 1.0.0.1~deb12\n"));
    EXPECT_THAT(packagesIndex("trixie"), HasSubstr("Version: 1.0.0.1~deb13\n"));
    EXPECT_THAT(packagesIndex("trixie"), ::testing::Not(HasSubstr("1.0.0.0")));
    EXPECT_TRUE(signedForApt("bookworm"));
    EXPECT_TRUE(signedForApt("trixie"));
    EXPECT_EQ(readFile(output / "apt" / kArchiveKeyringName), readFile(key / kArchiveKeyringName));
    // The book-keeping and the key's secret half stay out of what the site serves.
    EXPECT_FALSE(fs::exists(output / "apt" / "conf"));
    EXPECT_FALSE(fs::exists(output / "apt" / "db"));
    EXPECT_TRUE(fs::exists(output / ".apt" / "db"));

    // The next release replaces it in its suite.
    debianPackage("1.0.0.2~deb13");
    ASSERT_EQ(publishRelease("1.0.0.2"), "");
    EXPECT_THAT(packagesIndex("trixie"), HasSubstr("Version: 1.0.0.2~deb13\n"));
    EXPECT_THAT(packagesIndex("bookworm"), HasSubstr("Version: 1.0.0.1~deb12\n"));
    EXPECT_TRUE(signedForApt("trixie"));
}

TEST_F(AptRepository, NothingIsPublishedWithoutTheReleasesPackagesOrTheKey) {
    EXPECT_THAT(publishRelease(), HasSubstr("no package of 1.0.0.1"));
    debianPackage("1.0.0.1~deb11");
    EXPECT_THAT(publishRelease(), HasSubstr("not a package of a Debian release served"));
    fs::remove(packages / "tamrivo_1.0.0.1~deb11_amd64.deb");
    debianPackage("1.0.0.1~deb13");
    EXPECT_THAT(publishToAptRepository(packages, folder.path() / "no-key", "1.0.0.1", output),
                HasSubstr("no repository key"));
    EXPECT_FALSE(fs::exists(output / "apt"));

    // A version once published keeps its contents.
    ASSERT_EQ(publishRelease(), "");
    debianPackage("1.0.0.1~deb13", "rebuilt otherwise");
    EXPECT_THAT(publishRelease(), HasSubstr("reprepro could not add"));
    EXPECT_TRUE(signedForApt("trixie"));
}

// reprepro and gpg write what they make under the umask they are given: the tool gives them
// its own, so neither the repository (whose settings may name a program to run) nor the
// key is open to others when the publisher's umask is.
TEST_F(AptRepository, TheRepositoryAndTheKeyAreThePublishersAloneWhateverTheUmask) {
    debianPackage("1.0.0.1~deb13");
    const fs::path openKey = folder.path() / "open-key";
    const mode_t mask = ::umask(0);
    const std::string made = makeArchiveKey(openKey);
    const std::string published = publishRelease();
    ::umask(mask);
    ASSERT_EQ(made, "");
    ASSERT_EQ(published, "");
    for (const auto& entry : fs::recursive_directory_iterator(output)) {
        if (!entry.is_symlink()) {
            const auto mode = entry.status().permissions();
            EXPECT_EQ(mode & (fs::perms::group_write | fs::perms::others_write), fs::perms::none)
                << entry.path();
            EXPECT_EQ(mode & fs::perms::others_read, fs::perms::others_read) << entry.path();
        }
    }
    EXPECT_EQ(fs::status(openKey).permissions(), fs::perms::owner_all);
    for (const auto& entry : fs::recursive_directory_iterator(openKey)) {
        const auto mode = entry.symlink_status().permissions();
        EXPECT_EQ(mode & (fs::perms::group_write | fs::perms::others_write), fs::perms::none)
            << entry.path();
    }
}

TEST_F(AptRepository, AKeyFolderIsNeverReused) {
    EXPECT_THAT(makeArchiveKey(key), HasSubstr("never reuses"));
    EXPECT_EQ(fs::status(key).permissions(), fs::perms::owner_all);
    EXPECT_GT(fs::file_size(key / kArchiveKeyringName), 0u);
}

}  // namespace
}  // namespace tamrivo::release
