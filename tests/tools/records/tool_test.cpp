#include <gmock/gmock.h>

#include "tests/tools/records/records_tool_test_support.h"
#include "tools/records/progress_bar.h"

namespace tamrivo::testing {
namespace {

using ::testing::HasSubstr;

class Tool : public RecordsToolTest {};

TEST_F(Tool, HelpNamesEveryCommandAndEachCommandHasItsOwn) {
    const ToolRun help = tool({"--help"});
    EXPECT_EQ(help.status, kExitDone);
    for (const char* command :
         {"create", "backup FILE", "restore FILE", "check", "export FOLDER", "ical-export FOLDER",
          "report [--from DATE] [--to DATE] [--period PERIOD] [--csv]"}) {
        EXPECT_THAT(help.out, HasSubstr(command));
        const std::string name = std::string(command).substr(0, std::string(command).find(' '));
        const ToolRun own = tool({name, "--help"});
        EXPECT_EQ(own.status, kExitDone) << name;
        EXPECT_THAT(own.out, HasSubstr("usage: tamrivo-records [--folder DIR] " + name)) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(dataFolder()));  // asking for help touches nothing
}

TEST_F(Tool, WrongUsageIsStatusTwoWithAReason) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> misuses = {
        {{}, "no command given"},
        {{"frobnicate"}, "unknown command frobnicate"},
        {{"--colour", "check"}, "unknown option --colour"},
        {{"--folder"}, "--folder needs a folder"},
        {{"check", "--all"}, "unknown option --all"},
        {{"backup"}, "backup takes one argument"},
        {{"restore", "a.db", "b.db"}, "restore takes one argument"},
        {{"check", "extra"}, "check takes no arguments"},
        {{"create", "--demo=yes"}, "--demo takes no value"},
        {{"report", "--from"}, "--from needs a value"},
        {{"report", "--from", "2024-13-01"}, "--from wants a date as YYYY-MM-DD"},
        {{"report", "--to", "yesterday"}, "--to wants a date as YYYY-MM-DD"},
        {{"report", "--from", "2024-03-02", "--to", "2024-03-01"}, "ends before it begins"},
    };
    for (const auto& [arguments, reason] : misuses) {
        const ToolRun run = tool(arguments);
        EXPECT_EQ(run.status, kExitUsage) << reason;
        EXPECT_THAT(run.err, HasSubstr(reason));
    }
}

TEST_F(Tool, TheFolderOptionChoosesTheProgramFolder) {
    TemporaryFolder other;
    const ToolRun created = tool({"--folder", other.path().string(), "create"});
    EXPECT_EQ(created.status, kExitDone) << created.err;
    EXPECT_TRUE(std::filesystem::exists(other.path() / "Data" / "Data.db"));
    EXPECT_FALSE(std::filesystem::exists(databaseFile()));
    EXPECT_EQ(tool({"--folder=" + other.path().string(), "check"}).status, kExitDone);
}

TEST_F(Tool, ACommandWithoutADatabaseFailsAndSaysWhy) {
    for (const std::string command : {"check", "report"}) {
        const ToolRun run = tool({command});
        EXPECT_EQ(run.status, kExitFailed) << command;
        EXPECT_THAT(run.err, HasSubstr("cannot open " + databaseFile().string()));
    }
    EXPECT_FALSE(std::filesystem::exists(databaseFile()));
}

TEST(RecordsProgram, CreatesTheDatabaseBesideItselfOnceOnly) {
    TemporaryFolder folder;
    const std::filesystem::path program = folder.path() / "tamrivo-records";
    std::filesystem::copy_file(TAMRIVO_RECORDS_PROGRAM, program);
    const std::string command = "'" + program.string() + "'";

    const auto [created, report] = runCommand(command + " create --demo");
    EXPECT_EQ(created, 0) << report;
    EXPECT_THAT(report, HasSubstr("Data.db"));
    const std::filesystem::path database = folder.path() / "Data" / "Data.db";
    ASSERT_TRUE(std::filesystem::exists(database));
    const std::string before = readFile(database);

    const auto [again, refusal] = runCommand(command + " create --demo");
    EXPECT_EQ(again, 1);
    EXPECT_THAT(refusal, HasSubstr("already exists"));
    EXPECT_EQ(readFile(database), before);

    const auto [misused, usage] = runCommand(command + " create --bogus");
    EXPECT_EQ(misused, 2);
    EXPECT_THAT(usage, HasSubstr("usage"));
}

TEST(ProgressBar, FillsWithTheShareOfPagesCopied) {
    EXPECT_EQ(progressBar(10, 10, 10), "[..........]   0%");
    EXPECT_EQ(progressBar(5, 20, 10), "[#######...]  75%");
    EXPECT_EQ(progressBar(0, 20, 10), "[##########] 100%");
    EXPECT_EQ(progressBar(0, 0, 10), "[##########] 100%");  // an empty database
    EXPECT_EQ(progressBar(30, 20, 4), "[....]   0%");       // a restarted copy never goes below
}

}  // namespace
}  // namespace tamrivo::testing
