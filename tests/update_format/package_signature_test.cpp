#include "update_format/package_signature.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "base/text_encoding.h"
#include "net/update_public_key.h"
#include "tests/support/file_contents.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_keys.h"

namespace tamrivo {
namespace {

using testing::publisherKeys;
using testing::signatureOf;

class PackageSignature : public ::testing::Test {
protected:
    PackageSignature() { testing::writeFile(file, kPackage); }

    bool valid(const std::string& signatureHex, const Text& key = publisherKeys().publicPem,
               std::uint64_t maxBytes = 1 << 20) {
        return packageSignatureValid(utf8ToGbk(file), signatureFromHex(signatureHex), key,
                                     maxBytes);
    }

    static constexpr char kPackage[] = "PK\x03\x04 a package";
    testing::TemporaryFolder folder;
    std::string file = folder.file(gbkToUtf8("升级 包.tmp"));  // a path as the program meets it
};

TEST_F(PackageSignature, HoldsForThePackageItWasMadeForAndNoOther) {
    EXPECT_TRUE(valid(signatureOf(kPackage)));
    EXPECT_FALSE(valid(signatureOf(std::string(kPackage) + "!")));
    EXPECT_FALSE(valid(signatureOf(kPackage, testing::strangerKeys())));
    EXPECT_FALSE(valid(signatureOf(kPackage), testing::strangerKeys().publicPem));
}

TEST_F(PackageSignature, AnythingButAnEd25519KeyAndAWholeSignatureFails) {
    const std::string signature = signatureOf(kPackage);
    const Text ellipticCurveKey =
        "-----BEGIN PUBLIC KEY-----\n"
        "MFkwEwYHKoZIzj0CAQYIKoZIzj0DAQcDQgAEyR4BnxdLplSj7St1Ya1yGhE+LZmA\n"
        "x1Rkn+CgM6JXMTLyxI5b7M7zRwF0RQhs957PvPyX+uIVqA5ilqv5bM/yow==\n"
        "-----END PUBLIC KEY-----\n";
    EXPECT_FALSE(valid(signature, ellipticCurveKey));
    EXPECT_FALSE(valid(signature, "not a key"));
    EXPECT_FALSE(valid(signature, publisherKeys().privatePem));
    EXPECT_FALSE(valid(signature.substr(0, 126)));
    EXPECT_FALSE(valid(""));
}

TEST_F(PackageSignature, PackagesOverTheBoundOrMissingOrEmptyFail) {
    EXPECT_FALSE(valid(signatureOf(kPackage), publisherKeys().publicPem, sizeof(kPackage) - 2));
    EXPECT_TRUE(valid(signatureOf(kPackage), publisherKeys().publicPem, sizeof(kPackage) - 1));
    testing::writeFile(file, "");
    EXPECT_FALSE(valid(signatureOf("")));
    std::filesystem::remove(file);
    EXPECT_FALSE(valid(signatureOf(kPackage)));
}

// A package cut short while it is checked (a second copy of the program starting its own
// download) is read as far as it goes: the check fails, the program does not die of it.
TEST_F(PackageSignature, PackageShrinkingDuringTheCheckFailsTheCheckWithoutHarm) {
    const std::string large(32 << 20, 'p');
    testing::writeFile(file, large);
    const std::string signature = signatureOf(large);
    std::atomic<bool> checking = true;
    std::thread shrinker([&] {
        while (checking) {
            std::filesystem::resize_file(file, 0);
            std::filesystem::resize_file(file, large.size());
        }
    });
    int whole = 0;
    for (int round = 0; round < 30; ++round) {
        whole += valid(signature, publisherKeys().publicPem, large.size()) ? 1 : 0;
    }
    checking = false;
    shrinker.join();
    EXPECT_LT(whole, 30) << "some checks met the file cut short";
}

TEST_F(PackageSignature, IsNeverReadThroughALink) {
    const std::string link = folder.file("link.tmp");
    std::filesystem::create_symlink(file, link);
    EXPECT_FALSE(packageSignatureValid(utf8ToGbk(link), signatureFromHex(signatureOf(kPackage)),
                                       publisherKeys().publicPem, 1 << 20));
    EXPECT_FALSE(readWholeFile(std::filesystem::path(link), 1 << 20).has_value());
    EXPECT_TRUE(readWholeFile(std::filesystem::path(file), 1 << 20).has_value());
}

TEST(Sha256Hex, IsTheKnownDigest) {
    const std::string abc = "abc";
    EXPECT_EQ(sha256Hex({reinterpret_cast<const std::uint8_t*>(abc.data()), abc.size()}),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(SignatureHex, RoundTripsAndRejectsWhatIsNotExactlyASignature) {
    Bytes signature(kPackageSignatureSize);
    for (std::size_t i = 0; i < signature.size(); ++i) {
        signature[i] = static_cast<std::uint8_t>(i * 37 + 1);
    }
    const Text hex = signatureToHex(signature);
    EXPECT_EQ(hex.substr(0, 6), "01264b");
    EXPECT_EQ(signatureFromHex(hex), signature);
    Text upper = hex;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    EXPECT_EQ(signatureFromHex(upper), signature);
    EXPECT_TRUE(signatureFromHex(hex + "00").empty());
    EXPECT_TRUE(signatureFromHex(hex.substr(2)).empty());
    EXPECT_TRUE(signatureFromHex(Text(hex).replace(10, 1, "g")).empty());
    EXPECT_TRUE(signatureFromHex(Text(hex).replace(10, 1, " ")).empty());
}

// The key the build names is the one the program carries; the repository's default has no
// private half, so such a build installs nothing.
TEST(BuiltInKey, IsTheKeyFileTheBuildNames) {
    EXPECT_EQ(updatePublicKey(), testing::readFile(TAMRIVO_UPDATE_PUBLIC_KEY_FILE));
    testing::TemporaryFolder folder;
    testing::writeFile(folder.file("up.tmp"), "package");
    EXPECT_FALSE(packageSignatureValid(utf8ToGbk(folder.file("up.tmp")),
                                       signatureFromHex(signatureOf("package")), updatePublicKey(),
                                       100));
}

}  // namespace
}  // namespace tamrivo
