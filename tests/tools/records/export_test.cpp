#include <gmock/gmock.h>

#include "records/csv.h"
#include "tests/tools/records/records_tool_test_support.h"

namespace tamrivo::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Records = std::vector<std::vector<std::string>>;

// A reader after RFC 4180, written apart from the writer: quoted fields may hold commas,
// doubled quotes and line breaks; records end with CR LF.
Records readCsv(std::string_view text) {
    Records records(1);
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            records.back().push_back(std::exchange(field, {}));
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            records.back().push_back(std::exchange(field, {}));
            records.emplace_back();
            ++i;
        } else {
            field += c;
        }
    }
    records.pop_back();  // after the last line end
    return records;
}

std::string utf8(const char* gbk) {
    return gbkToUtf8(gbk);
}

class Export : public RecordsToolTest {
protected:
    void SetUp() override { makeDatabase(); }

    // Exports into a new folder; the two files' records, the byte-order mark checked.
    std::pair<Records, Records> exported() {
        const std::filesystem::path out = folder.path() / "export";
        const ToolRun run = tool({"export", out.string()});
        EXPECT_EQ(run.status, kExitDone) << run.err;
        const std::string rooms = readFile(out / "rooms.csv");
        const std::string leases = readFile(out / "leases.csv");
        EXPECT_TRUE(rooms.starts_with(kUtf8ByteOrderMark));
        EXPECT_TRUE(leases.starts_with(kUtf8ByteOrderMark));
        return {readCsv(std::string_view(rooms).substr(3)),
                readCsv(std::string_view(leases).substr(3))};
    }
};

TEST_F(Export, TextsComeBackWholeWhateverTheyHold) {
    execute(
        "INSERT INTO b_fangjian (dizhi, zhuangtai) VALUES('幸福里\"3号\",楼\r\n101室', 1);"
        "INSERT INTO b_fangjian (dizhi, zhuangtai, chuzuzhuangtai, danhao) "
        "VALUES('东区 2,3', -1, NULL, NULL);"
        "INSERT INTO b_zulin (danhao, fangzhi, xingming, lianxifangshi, dingjin, zujin, "
        "ruzhuriqi, zulinzhuangtai, jiesuanjine, jiesuanriqi, beizhu, jiesuanbeizhu) VALUES("
        "'20240301142000-00001000', '东区 2,3', '=HYPERLINK(\"http://x\")', '+8613800138000', "
        "200, 98.5, '2024-03-01 14:20:00', 1, 360, '2024-03-04 11:00:00', '第一行\n第二行', "
        "'-押金已退')");
    db.close();
    sqlcipherShell(folder, databaseFile().string(),
                   std::string(testing::kShellKey) +
                       "UPDATE b_zulin SET xingming='\xF0\x9F\x8F\xA0 ' || "
                       "xingming;\n");

    const auto [rooms, leases] = exported();
    EXPECT_THAT(rooms,
                ElementsAre(ElementsAre(utf8("编号"), utf8("房屋地址"), utf8("房屋状态"),
                                        utf8("出租状态"), utf8("单号")),
                            ElementsAre("1", utf8("幸福里\"3号\",楼\r\n101室"), "1", "0", ""),
                            ElementsAre("2", utf8("东区 2,3"), "-1", "", "")));
    ASSERT_EQ(leases.size(), 2u);
    EXPECT_THAT(leases[0], ElementsAre(utf8("编号"), utf8("单号"), utf8("房屋地址"), utf8("姓名"),
                                       utf8("联系方式"), utf8("定金"), utf8("租金"),
                                       utf8("入住日期"), utf8("租赁状态"), utf8("结算金额"),
                                       utf8("结算日期"), utf8("备注"), utf8("结算备注")));
    EXPECT_THAT(leases[1],
                ElementsAre("1", "20240301142000-00001000", utf8("东区 2,3"),
                            "\xF0\x9F\x8F\xA0 =HYPERLINK(\"http://x\")", "+8613800138000", "200.0",
                            "98.5", "2024-03-01 14:20:00", "1", "360.0", "2024-03-04 11:00:00",
                            utf8("第一行\n第二行"), utf8("'-押金已退")));
}

TEST_F(Export, FormulasAreDefusedAndPlainTextsLeftAlone) {
    EXPECT_EQ(defuseFormula("=1+1"), "'=1+1");
    EXPECT_EQ(defuseFormula("@SUM(A1)"), "'@SUM(A1)");
    EXPECT_EQ(defuseFormula("\tx"), "'\tx");
    EXPECT_EQ(defuseFormula("a=b"), "a=b");
    EXPECT_EQ(defuseFormula(""), "");
    EXPECT_EQ(defuseFormula("-12.5"), "-12.5");
    EXPECT_EQ(defuseFormula("-1+1"), "'-1+1");
    EXPECT_EQ(defuseFormula("-65.0%"), "-65.0%");
    EXPECT_EQ(defuseFormula("+100%"), "+100%");
    EXPECT_EQ(defuseFormula("=12"), "'=12");
    EXPECT_EQ(defuseFormula("@1"), "'@1");
    EXPECT_EQ(defuseFormula("-"), "'-");
    EXPECT_EQ(defuseFormula("-%"), "'-%");
    EXPECT_EQ(defuseFormula("-1.2.3"), "'-1.2.3");
    EXPECT_EQ(defuseFormula("-5%%"), "'-5%%");
    EXPECT_EQ(defuseFormula("\r5"), "\r5");
    EXPECT_EQ(defuseFormula("\r=5"), "'\r=5");
    EXPECT_EQ(defuseFormula("+86 138"), "'+86 138");
    EXPECT_EQ(csvField("=1+1"), "'=1+1");
    EXPECT_EQ(csvField("=A1,B1"), "\"'=A1,B1\"");
    EXPECT_EQ(csvField("plain"), "plain");
    EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(csvField("a\nb"), "\"a\nb\"");
}

// A crafted or restored file may hold a formula in a column of another type.
TEST_F(Export, AFormulaStoredAsABlobIsDefusedToo) {
    execute(
        "INSERT INTO b_fangjian (dizhi, zhuangtai, chuzuzhuangtai, danhao) "
        "VALUES(CAST('=cmd|'' /C calc''!A0' AS BLOB), 1, 0, -5)");
    const auto [rooms, leases] = exported();
    ASSERT_EQ(rooms.size(), 2u);
    EXPECT_EQ(rooms[1][1], "'=cmd|' /C calc'!A0");
    EXPECT_EQ(rooms[1][4], "-5");
}

TEST_F(Export, FilesAlreadyThereAreNeverReplaced) {
    const std::filesystem::path out = folder.path() / "export";
    std::filesystem::create_directories(out);
    writeFile(out / "leases.csv", "edited by hand");
    const ToolRun run = tool({"export", out.string()});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_THAT(run.err, HasSubstr("leases.csv already exists"));
    EXPECT_EQ(readFile(out / "leases.csv"), "edited by hand");
    EXPECT_FALSE(std::filesystem::exists(out / "rooms.csv"));
}

TEST_F(Export, ReservationsGoOutBesideTheRestAndOlderRecordsGiveTheHeaderAlone) {
    execute("INSERT INTO `b_fangjian` (`dizhi`, `zhuangtai`) VALUES ('101', 1)");
    execute(
        "INSERT INTO `b_yuding` (`fangjianid`, `xingming`, `daodariqi`, `likairiqi`, "
        "`dingjin`, `zhuangtai`, `chuangjianshijian`) VALUES (1, '=1+1', '2026-12-10', "
        "'2026-12-12', 50, 2, '2026-12-01 10:00:00')");
    const std::filesystem::path out = folder.path() / "export";
    ASSERT_EQ(tool({"export", out.string()}).status, kExitDone);
    const Records reservations = readCsv(readFile(out / "reservations.csv").substr(3));
    ASSERT_EQ(reservations.size(), 2u);
    EXPECT_EQ(reservations[0][4], utf8("到达日期"));
    EXPECT_THAT(reservations[1], ElementsAre("1", "1", "'=1+1", "", "2026-12-10", "2026-12-12",
                                             "50.0", "", "2", "", "2026-12-01 10:00:00"));

    execute("DROP TABLE `b_yuding`");
    const std::filesystem::path older = folder.path() / "older";
    const ToolRun run = tool({"export", older.string()});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_THAT(run.out, HasSubstr("exported 0 reservations"));
    EXPECT_EQ(readCsv(readFile(older / "reservations.csv").substr(3)).size(), 1u);
}

}  // namespace
}  // namespace tamrivo::testing
