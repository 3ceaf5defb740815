#include "records/landlord.h"

#include <gtest/gtest.h>

#include "tests/records/records_test_support.h"

namespace tamrivo {
namespace {

class LandlordRecords : public testing::RecordsTest {
protected:
    void SetUp() override { makeDatabase(); }

    static Text repeated(const Text& piece, int times) {
        Text text;
        for (int i = 0; i < times; ++i) {
            text += piece;
        }
        return text;
    }
};

TEST_F(LandlordRecords, OlderRecordsGainTheTableAndReadAsNoDetailsUntilSaved) {
    ASSERT_FALSE(db.tableExists("b_fangdong"));
    EXPECT_EQ(loadLandlord(db), Landlord{});
    ASSERT_TRUE(addLandlordTable(db));
    ASSERT_TRUE(addLandlordTable(db));  // again: nothing to do
    EXPECT_EQ(loadLandlord(db), Landlord{});
    EXPECT_EQ(db.queryInt("SELECT count(*) FROM `b_fangjian`"), 0);
}

TEST_F(LandlordRecords, SavedDetailsReadBackAndASecondSaveReplacesTheFirst) {
    const Landlord first{"王房东", "幸福路 8 号 'a'; DROP TABLE b_zulin;--", "138 0013 8000"};
    ASSERT_EQ(saveLandlord(db, first), LandlordSave::Saved);  // makes the table too
    EXPECT_EQ(loadLandlord(db), first);
    const Landlord second{"李四", "", "0571-1234"};
    ASSERT_EQ(saveLandlord(db, second), LandlordSave::Saved);
    EXPECT_EQ(loadLandlord(db), second);
    EXPECT_EQ(db.queryInt("SELECT count(*) FROM `b_fangdong`"), 1);
    EXPECT_TRUE(db.tableExists("b_zulin"));
}

TEST_F(LandlordRecords, AFieldOverItsLimitInCharactersIsRefusedAndNothingChanges) {
    const Landlord kept{"王", "路", "1"};
    ASSERT_EQ(saveLandlord(db, kept), LandlordSave::Saved);
    // Limits count characters, not bytes: 100 Chinese characters are a name, 101 are not.
    EXPECT_EQ(saveLandlord(db, {repeated("王", kLandlordNameLimit), "", ""}), LandlordSave::Saved);
    ASSERT_EQ(saveLandlord(db, kept), LandlordSave::Saved);
    EXPECT_EQ(saveLandlord(db, {repeated("王", kLandlordNameLimit + 1), "", ""}),
              LandlordSave::TooLong);
    EXPECT_EQ(saveLandlord(db, {"", repeated("a", kLandlordAddressLimit + 1), ""}),
              LandlordSave::TooLong);
    EXPECT_EQ(saveLandlord(db, {"", "", repeated("1", kLandlordPhoneLimit + 1)}),
              LandlordSave::TooLong);
    EXPECT_EQ(loadLandlord(db), kept);
}

}  // namespace
}  // namespace tamrivo
