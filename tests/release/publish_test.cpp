#include "tools/release/publish.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

#include "base/text_encoding.h"
#include "net/json_object.h"
#include "tests/support/file_contents.h"
#include "tests/support/folder_snapshot.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_keys.h"
#include "tools/updater/package_installer.h"
#include "update_format/package_signature.h"
#include "update_format/release_statement.h"

namespace tamrivo::release {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::snapshot;
using ::testing::UnorderedElementsAre;

class Publish : public ::testing::Test {
protected:
    Publish() {
        fs::create_directories(program / "lib");
        fs::create_directories(program / "empty");
        fs::create_directories(program / "Data");
        fs::create_directories(program / ".tamrivo-update" / "staging");
        testing::writeFile(program / "VERSION", "1.0.0.1\n");
        testing::writeFile(program / "tamrivo", "program 1.0.0.1");
        fs::permissions(program / "tamrivo", fs::perms(0755));
        testing::writeFile(program / "lib" / "libextra.so", std::string(100000, 'l'));
        testing::writeFile(program / fs::path(gbkToUtf8("说明.txt")), "notes");
        testing::writeFile(program / "Data" / "Data.db", "the landlord's records");
        testing::writeFile(program / ".tamrivo-update" / "journal", "F 0 x\n");
        request.programFolder = program;
        request.version = "1.0.0.1";
        request.notes = gbkToUtf8("修复退房结算");
        request.baseUrl = "http://updates.example:81//";
        request.output = output;
        request.privateKeyPem = testing::publisherKeys().privatePem;
    }

    testing::TemporaryFolder folder;
    fs::path program = folder.path() / "program";
    fs::path output = folder.path() / "site";
    PublishRequest request;
};

TEST_F(Publish, PackageInstallsTheFolderAsItIsButForTheRecords) {
    const PublishResult result = publish(request);
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(result.package, output / "tamrivo-1.0.0.1.zip");
    EXPECT_EQ(result.packageUrl, "http://updates.example:81/tamrivo-1.0.0.1.zip");
    EXPECT_THAT(snapshot(output), UnorderedElementsAre(::testing::Key("autoUpdate.php"),
                                                       ::testing::Key("tamrivo-1.0.0.1.zip"),
                                                       ::testing::Key("tamrivo-1.0.0.1.zip.sig")));
    for (const auto& [name, item] : snapshot(output)) {
        EXPECT_TRUE(item.starts_with("420 ")) << name << " is readable by the web server";
    }

    JsonObject reply;
    ASSERT_TRUE(reply.parse(readFile(output / "autoUpdate.php")));
    EXPECT_EQ(reply.text("版本"), "1.0.0.1");
    EXPECT_EQ(reply.text("更新说明"), "修复退房结算");
    EXPECT_EQ(reply.text("更新地址"), result.packageUrl);
    const Bytes signature = signatureFromHex(reply.text("签名"));
    EXPECT_EQ(readFile(output / "tamrivo-1.0.0.1.zip.sig"),
              std::string(signature.begin(), signature.end()));
    EXPECT_TRUE(packageSignatureValid(utf8ToGbk(result.package.string()), signature,
                                      testing::publisherKeys().publicPem, 1 << 20));

    const fs::path installed = folder.path() / "installed";
    fs::create_directories(installed / "Data");
    const std::string packed = readFile(result.package);
    const Bytes packageBytes(packed.begin(), packed.end());
    const auto statement = verifiedStatement(reply.text("发布声明"), reply.text("声明签名"),
                                             testing::publisherKeys().publicPem);
    ASSERT_TRUE(statement.has_value()) << "the reply carries the signed statement";
    EXPECT_EQ(statement->version, "1.0.0.1");
    EXPECT_EQ(statement->notes, reply.text("更新说明"));
    EXPECT_TRUE(packageMatches(packageBytes, *statement));
    ASSERT_EQ(installPackage(packageBytes, installed).outcome, InstallReport::Outcome::Installed);
    fs::remove_all(program / "Data");
    fs::remove_all(program / ".tamrivo-update");
    fs::remove(installed / "Data");
    EXPECT_EQ(snapshot(installed), snapshot(program));
}

TEST_F(Publish, RefusesWhatTheProgramCouldNotTakeAndWritesNothing) {
    const std::vector<std::pair<const char*, std::function<void()>>> faults = {
        {"another version", [&] { request.version = "1.0.0.2"; }},
        {"no VERSION file", [&] { fs::remove(program / "VERSION"); }},
        {"no program folder", [&] { request.programFolder = folder.path() / "missing"; }},
        {"version with a blank", [&] { request.version = "1.0 beta"; }},
        {"version with a slash", [&] { request.version = "../1"; }},
        {"empty version", [&] { request.version = ""; }},
        {"release candidate the program cannot order", [&] { request.version = "1.1.0-rc1"; }},
        {"not http", [&] { request.baseUrl = "ftp://updates.example"; }},
        {"no scheme", [&] { request.baseUrl = "updates.example:81"; }},
        {"a blank in the address", [&] { request.baseUrl = "http://up dates.example"; }},
        {"a quote in the address", [&] { request.baseUrl = "http://updates.example/\""; }},
        {"output inside the folder", [&] { request.output = program / "site"; }},
        {"a link in the folder",
         [&] { fs::create_symlink("/etc/passwd", program / "lib" / "passwd"); }},
        {"notes GBK cannot write", [&] { request.notes = "\xF0\x9F\x8F\xA0"; }},
        {"no private key", [&] { request.privateKeyPem = testing::publisherKeys().publicPem; }},
        {"Debian packages without the repository key",
         [&] { request.debianPackages = folder.path(); }},
        {"no Debian package of the version",
         [&] {
             request.debianPackages = folder.path();
             request.archiveKey = folder.path();
         }},
    };
    const auto before = snapshot(program);
    for (const auto& [what, fault] : faults) {
        SCOPED_TRACE(what);
        const PublishRequest good = request;
        fault();
        EXPECT_NE(publish(request).error, "");
        EXPECT_TRUE(!fs::exists(output) || fs::is_empty(output));
        EXPECT_FALSE(fs::exists(program / "site"));
        request = good;
        fs::remove(program / "lib" / "passwd");
        testing::writeFile(program / "VERSION", "1.0.0.1\n");
    }
    EXPECT_EQ(snapshot(program), before);
}

// Landlords may have installed what a version's name offered: it is never replaced by other
// files under the same name; the very same package may be published again.
TEST_F(Publish, AVersionOncePublishedKeepsItsFiles) {
    ASSERT_EQ(publish(request).error, "");
    const auto published = snapshot(output);
    ASSERT_EQ(publish(request).error, "");
    EXPECT_EQ(snapshot(output), published);

    testing::writeFile(program / "tamrivo", "program 1.0.0.1, built again");
    request.notes = "rebuilt";
    EXPECT_THAT(publish(request).error,
                ::testing::HasSubstr("is published already with other files"));
    EXPECT_EQ(snapshot(output), published);
}

// Under a umask that lets anyone write, what the web server serves is still the
// publisher's alone to change.
TEST_F(Publish, TheSiteIsWritableByThePublisherAloneWhateverTheUmask) {
    const mode_t mask = ::umask(0);
    request.output = output / "new" / "site";
    const PublishResult result = publish(request);
    ::umask(mask);
    ASSERT_EQ(result.error, "");
    for (const auto& [name, item] : snapshot(output)) {
        EXPECT_TRUE(item.starts_with("420 ") || item == "folder 493") << name << ": " << item;
    }
}

}  // namespace
}  // namespace tamrivo::release
