#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/text_encoding.h"
#include "tests/support/engine_fixture.h"

namespace tamrivo {
namespace {

namespace fs = std::filesystem;
using testing::EngineFixture;

class SystemServices : public EngineFixture {
protected:
    SystemServices() {
        folder = fs::temp_directory_path() /
                 ("tamrivo-system-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    ~SystemServices() override { fs::remove_all(folder); }

    Text path(const Text& name) const { return utf8ToGbk(folder.string()) + "/" + name; }
    static std::string contents(const Text& gbkPath) {
        std::ifstream in(gbkToUtf8(gbkPath), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path folder;
};

TEST_F(SystemServices, WriteFileWritesTheNonEmptyBlocksAndTruncates) {
    const Text file = path("统计.csv");
    const std::vector<Bytes> first{{'l', 'o', 'n', 'g', 'e', 'r'}};
    ASSERT_TRUE(services.writeFile(file, first));
    const std::vector<Bytes> blocks{{'a', 'b'}, {}, {0, 'c'}};
    ASSERT_TRUE(services.writeFile(file, blocks));
    EXPECT_EQ(contents(file), std::string("ab\0c", 4));

    // A landlord's file: never executable, as open as the umask lets new files be.
    const mode_t mask = ::umask(027);
    ASSERT_TRUE(services.writeFile(path("umask.csv"), blocks));
    ::umask(mask);
    struct stat status {};
    ASSERT_EQ(::stat(gbkToUtf8(path("umask.csv")).c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    ASSERT_EQ(::stat(gbkToUtf8(file).c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0111, 0u);

    EXPECT_TRUE(services.writeFile(path("升级包.tmp"), blocks));
    EXPECT_TRUE(fs::exists(folder / fs::path(u8"升级包.tmp")));
    EXPECT_FALSE(services.writeFile(path("no-such-folder/up.tmp"), blocks));
    EXPECT_FALSE(services.writeFile("bad\x81", blocks));
}

TEST_F(SystemServices, WriteFileReplacesALinkAndNeverWritesThroughIt) {
    const fs::path records = folder / "Data.db";
    std::ofstream(records) << "the records";
    fs::permissions(records, fs::perms(0600));
    const Text planted = path("统计-2026-12-01-2026-12-31.csv");
    fs::create_symlink(records, gbkToUtf8(planted));

    const std::vector<Bytes> csv{{'c', 's', 'v'}};
    ASSERT_TRUE(services.writeFile(planted, csv));
    EXPECT_EQ(contents(utf8ToGbk(records.string())), "the records");
    EXPECT_EQ(fs::status(records).permissions(), fs::perms(0600));
    EXPECT_FALSE(fs::is_symlink(gbkToUtf8(planted)));
    EXPECT_EQ(contents(planted), "csv");
    for (const auto& entry : fs::directory_iterator(folder)) {
        EXPECT_EQ(entry.path().string().find(".partial-"), std::string::npos) << entry.path();
    }
}

TEST_F(SystemServices, RunProgramPassesEachArgumentWhole) {
    const Text target = path("房间 列表.txt");
    ASSERT_TRUE(services.runProgram(
        {"/bin/sh", "-c", "printf %s \"$1\" > \"$2\"", "sh", "入住 参数", target}, true));
    EXPECT_EQ(contents(target), gbkToUtf8("入住 参数"));

    EXPECT_TRUE(services.runProgram({"/bin/true"}, false));
    EXPECT_FALSE(services.runProgram({path("missing-program")}, true));
    EXPECT_FALSE(services.runProgram({}, true));
}

TEST_F(SystemServices, AStartedProgramGetsNoneOfTheCallersOpenFilesBeyondTheStandardOnes) {
    int pipeEnds[2] = {-1, -1};
    ASSERT_EQ(::pipe(pipeEnds), 0);  // inheritable, as sockets and files often are
    const Text seen = path("seen");
    const std::string script = "for fd in " + std::to_string(pipeEnds[0]) + " " +
                               std::to_string(pipeEnds[1]) +
                               " 2; do [ -e /proc/$$/fd/$fd ] && printf '%s ' $fd; done > \"$1\"";
    EXPECT_TRUE(services.runProgram({"/bin/sh", "-c", script, "sh", seen}, true));
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    EXPECT_EQ(contents(seen), "2 ") << "only the standard streams";
}

TEST_F(SystemServices, AProgramStillRunningAfterItsStartIsLeftToItsOwner) {
    EXPECT_TRUE(services.runProgram({"/bin/true"}, false));
    EXPECT_TRUE(services.runProgram({"/bin/true"}, true));
    EXPECT_TRUE(services.runningPrograms().empty()) << "ended and reaped";

    ASSERT_TRUE(services.runProgram({"/bin/sleep", "30"}, false));
    const auto running = services.runningPrograms();
    ASSERT_EQ(running.size(), 1u);
    EXPECT_EQ(contents("/proc/" + std::to_string(running[0]) + "/cmdline"),
              std::string("/bin/sleep\0"
                          "30\0",
                          14));
    ::kill(running[0], SIGKILL);
    EXPECT_EQ(::waitpid(running[0], nullptr, 0), running[0]) << "still ours to reap";
}

TEST_F(SystemServices, ProgramDirectoryIsTheExecutablesFolderUnlessSet) {
    const fs::path executable = fs::read_symlink("/proc/self/exe");
    EXPECT_TEXT_EQ(services.programDirectory(), utf8ToGbk(executable.parent_path().string()));
    EXPECT_NE(services.programDirectory().back(), '/');

    services.setProgramDirectory(path("程序"));
    EXPECT_TEXT_EQ(services.programDirectory(), path("程序"));
}

}  // namespace
}  // namespace tamrivo
