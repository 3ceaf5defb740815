#include <gmock/gmock.h>

#include "records/guest_register.h"
#include "records/identity_retention.h"
#include "records/stored_dates.h"
#include "tests/tools/records/records_tool_test_support.h"

namespace tamrivo::testing {
namespace {

using ::testing::HasSubstr;

class Purge : public RecordsToolTest {
protected:
    // A stay settled `daysAgo` before today, its guest with an address.
    void addSettledStay(std::int64_t daysAgo) {
        const Text day = dayText(today() - daysAgo, "yyyy-MM-dd") + " 10:00:00";
        ASSERT_TRUE(db.run(
            "INSERT INTO b_zulin (danhao, fangzhi, xingming, lianxifangshi, dingjin, "
            "zujin, ruzhuriqi, zulinzhuangtai, jiesuanjine, jiesuanriqi) VALUES('" +
            day + "', '一号房', '测试甲', '', 0, 100, '" + day + "', 1, 300, '" + day + "')"));
        ASSERT_TRUE(db.run("INSERT INTO b_zhuke (zulinid, xuhao, xingming, zhuzhi) VALUES(" +
                           std::to_string(db.lastInsertRowid()) + ", 1, '测试甲', '北京市')"));
    }
};

TEST_F(Purge, EmptiesOnlyTheIdentityKeptPastTheRetentionTheLandlordSet) {
    makeDatabase();
    ASSERT_TRUE(addGuestRegisterTables(db));
    ASSERT_TRUE(setIdentityRetentionYears(db, 1));
    addSettledStay(400);
    addSettledStay(300);
    db.close();

    const ToolRun run = tool({"purge"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("purged the identity of 1 guest(s), kept 1 year(s)"));
    ASSERT_TRUE(db.open(databaseFile().string(), schema::kDatabaseKey));
    EXPECT_EQ(db.queryInt("SELECT count(*) FROM b_zhuke WHERE zhuzhi=''"), 1);
    EXPECT_EQ(db.queryInt("SELECT count(*) FROM b_zhuke WHERE xingming='测试甲'"), 2);
    EXPECT_EQ(db.queryInt("SELECT count(*) FROM b_dengjirizhi WHERE yonghu='tamrivo-records'"), 1);

    // Nothing is left to purge the second time.
    db.close();
    EXPECT_THAT(tool({"purge"}).out, HasSubstr("purged the identity of 0 guest(s)"));
}

TEST_F(Purge, GivesOlderRecordsTheRegisterFirst) {
    makeDatabase();
    db.close();
    const ToolRun run = tool({"purge"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("purged the identity of 0 guest(s), kept 3 year(s)"));
}

}  // namespace
}  // namespace tamrivo::testing
