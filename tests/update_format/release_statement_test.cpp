#include "update_format/release_statement.h"

#include <gtest/gtest.h>

#include "tests/support/test_keys.h"
#include "update_format/package_signature.h"
#include "update_format/update_format.h"

namespace tamrivo {
namespace {

using testing::publisherKeys;
using testing::signatureOf;

const testing::OfferedRelease kRelease{"1.0.1.0", "修复退房结算\n第二行", "", "PK package"};

TEST(ReleaseStatement, RoundTripsThroughItsText) {
    const Text text = testing::statementOf(kRelease);
    const std::optional<ReleaseStatement> statement = parseStatement(text);
    ASSERT_TRUE(statement.has_value());
    EXPECT_EQ(statement->name, kSoftwareName);
    EXPECT_EQ(statement->version, "1.0.1.0");
    EXPECT_EQ(statement->notes, "修复退房结算\n第二行");
    EXPECT_EQ(statement->size, 10u);
    EXPECT_EQ(statementText(*statement), text);
}

TEST(ReleaseStatement, RefusesTextsNotExactlyOfItsForm) {
    const Text text = testing::statementOf(kRelease);
    const auto replaced = [&](const Text& from, const Text& to) {
        Text changed = text;
        changed.replace(changed.find(from), from.size(), to);
        return changed;
    };
    for (const Text& bad :
         {Text(), text.substr(0, text.find("notes=")),
          replaced("version=1.0.1.0", "version=1.1-rc"), replaced("size=10", "size=-10"),
          replaced("size=10", "size=1x"), replaced("sha256=", "sha256=0"),
          replaced("Tamrivo release", "Tamrivo Release"), replaced("name=", "nom=")}) {
        EXPECT_FALSE(parseStatement(bad).has_value()) << bad;
    }
    ReleaseStatement unfit = *parseStatement(text);
    unfit.version = "1.0\n2.0";
    EXPECT_FALSE(statementText(unfit).has_value());
}

// What the landlord reads and what gets installed hold only as the publisher signed them.
TEST(ReleaseStatement, IsBelievedOnlyWithThePublishersSignatureOverEveryByte) {
    const Text text = testing::statementOf(kRelease);
    const Text key = publisherKeys().publicPem;
    EXPECT_TRUE(verifiedStatement(text, signatureOf(text), key).has_value());
    EXPECT_FALSE(verifiedStatement(text, signatureOf(text, testing::strangerKeys()), key));
    Text otherNotes = text;
    otherNotes.back() = '!';
    EXPECT_FALSE(verifiedStatement(otherNotes, signatureOf(text), key));
    EXPECT_FALSE(verifiedStatement(text, "", key));
    // Another product of the same publisher is no release of this program.
    Text otherName = text;
    otherName.replace(otherName.find("name=Tamrivo"), 12, "name=Tamriva");
    EXPECT_FALSE(verifiedStatement(otherName, signatureOf(otherName), key));
}

TEST(ReleaseStatement, MatchesOnlyThePackageOfItsSizeAndDigest) {
    const ReleaseStatement statement = *parseStatement(testing::statementOf(kRelease));
    const auto bytes = [](const std::string& text) { return Bytes(text.begin(), text.end()); };
    EXPECT_TRUE(packageMatches(bytes("PK package"), statement));
    EXPECT_FALSE(packageMatches(bytes("PK packagf"), statement));
    EXPECT_FALSE(packageMatches(bytes("PK package "), statement));
    EXPECT_FALSE(packageMatches({}, statement));
}

TEST(UpdateFormat, DataIsReservedWhateverTheCaseAsIsTheWorkFolder) {
    for (const char* name : {"Data", "data", "DATA", "dAtA"}) {
        EXPECT_TRUE(isDataFolderName(name)) << name;
        EXPECT_TRUE(reservedPlace(std::filesystem::path(name) / "Data.db")) << name;
    }
    EXPECT_FALSE(isDataFolderName("Data2"));
    EXPECT_FALSE(isDataFolderName("Dat"));
    EXPECT_TRUE(reservedPlace(std::filesystem::path(kUpdateWorkFolder) / "journal"));
    EXPECT_FALSE(reservedPlace("tamrivo"));
    EXPECT_FALSE(reservedPlace("lib/Data"));
}

}  // namespace
}  // namespace tamrivo
