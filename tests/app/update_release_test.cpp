// A release end to end, as a vendor and a landlord meet it: the release tool publishes
// version 1.0.0.1 into the folder Debian's nginx serves with the project's site file; the
// program of version 1.0.0.0 finds it, downloads it, checks its signature and hands over to
// the real updater, which puts it in place; the program then in the folder is 1.0.0.1.

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <iostream>

#include "tests/app/app_fixture.h"
#include "tests/app/nginx_server.h"
#include "tests/support/file_contents.h"
#include "tests/support/run_command.h"
#include "ui/windows/update_window.h"

namespace tamrivo::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr char kNotes[] = "修复退房结算";
// The updater waits 3 s for the program to end before it starts.
constexpr int kUpdaterPatienceMs = 20000;

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

long millisecondsSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// The vendor's side, ready before the program starts: a key pair from the release tool and
// nginx serving the release folder.
struct ReleaseSite {
    ReleaseSite() {
        fs::create_directories(site);
        const auto [status, output] = runCommand(std::string(TAMRIVO_RELEASE_PROGRAM) + " keygen " +
                                                 quoted(root.path() / "vendor.key") + " " +
                                                 quoted(root.path() / "vendor.pub"));
        EXPECT_EQ(status, 0) << output;
        publicKey = readFile(root.path() / "vendor.pub");
    }

    TemporaryFolder root;
    fs::path site = root.path() / "site";
    Text publicKey;
    NginxServer nginx{root.path() / "nginx", site};
};

class UpdateRelease : protected ReleaseSite, public AppTest {
protected:
    UpdateRelease() : AppTest(nginx.url("/autoUpdate.php"), publicKey) {}
    ~UpdateRelease() override {
        for (const int process : services.runningPrograms()) {
            ::kill(process, SIGKILL);  // the updater waits on its congratulation
            ::waitpid(process, nullptr, 0);
        }
    }

    // Release B: the program built as 1.0.0.1 and a file of its own.
    fs::path assembleRelease() {
        const fs::path release = root.path() / "release-1.0.0.1";
        fs::create_directories(release / "share");
        fs::copy_file(TAMRIVO_NEWER_PROGRAM, release / "tamrivo");
        writeFile(release / "VERSION", "1.0.0.1\n");
        writeFile(release / "share" / "readme.txt", "new in 1.0.0.1");
        return release;
    }

    std::pair<int, std::string> publish(const fs::path& release, const std::string& version) {
        return runCommand(std::string(TAMRIVO_RELEASE_PROGRAM) + " publish --key " +
                          quoted(root.path() / "vendor.key") + " --version " + version +
                          " --notes " + gbkToUtf8(kNotes) + " --base-url " + nginx.url("") +
                          " --output " + quoted(site) + " " + quoted(release));
    }

    bool upgradeEnabled(WindowHandle update) {
        const QWidget* button = services.widget(update, update_window::kUpgradeButton);
        return button != nullptr && button->isEnabled();
    }
};

TEST_F(UpdateRelease, PublishedReleaseReplacesTheProgramAndLeavesTheRecordsAlone) {
    ASSERT_TRUE(nginx.running()) << nginx.errorLog();
    const fs::path release = assembleRelease();
    auto started = Clock::now();
    const auto [published, said] = publish(release, "1.0.0.1");
    ASSERT_EQ(published, 0) << said;
    const long publishMs = millisecondsSince(started);

    // Program folder A: version 1.0.0.0 with the landlord's records.
    writeFile(folder.path() / "VERSION", "1.0.0.0\n");
    writeFile(folder.path() / "tamrivo", "the program of 1.0.0.0");
    const WindowHandle main = startAndLogIn();
    ASSERT_NE(main, 0);
    EXPECT_TEXT_EQ(statusPart(main, 0), "版本号:1.0.0.0");
    const std::string records = readFile(databaseFile());

    started = Clock::now();
    command(main, -1, "升级检测");
    const auto updates = services.openWindows(WindowKind::Update);
    ASSERT_EQ(updates.size(), 1u);
    const WindowHandle update = updates.front();
    ASSERT_TRUE(waitUntil([&] { return upgradeEnabled(update); }, 15000));
    EXPECT_TEXT_EQ(services.text(update, update_window::kLogEdit), Text("1.0.0.1\r\n") + kNotes);
    const long checkMs = millisecondsSince(started);

    started = Clock::now();
    ASSERT_TRUE(clickControl(services, update, update_window::kUpgradeButton));
    ASSERT_TRUE(waitUntil([&] { return services.openWindows(WindowKind::Main).empty(); }, 15000))
        << "the program ends once the updater is on its way";
    const long downloadMs = millisecondsSince(started);
    ASSERT_EQ(services.runningPrograms().size(), 1u);

    started = Clock::now();
    ASSERT_TRUE(waitUntil(
        [&] {
            return readFile(folder.path() / "VERSION") == "1.0.0.1\n" &&
                   !fs::exists(folder.path() / ".tamrivo-update");
        },
        kUpdaterPatienceMs));
    const long installMs = millisecondsSince(started);
    EXPECT_EQ(readFile(folder.path() / "share" / "readme.txt"), "new in 1.0.0.1");
    EXPECT_EQ(readFile(databaseFile()), records) << "the records are no package's to replace";

    started = Clock::now();
    const auto [status, shown] =
        runCommand("QT_QPA_PLATFORM=offscreen " + quoted(folder.path() / "tamrivo"));
    const long restartMs = millisecondsSince(started);
    EXPECT_EQ(status, 0) << shown;
    EXPECT_NE(shown.find(gbkToUtf8("版本号:1.0.0.1") + "\n"), std::string::npos) << shown;
    EXPECT_EQ(readFile(databaseFile()), records);

    std::cout << "publish " << publishMs << " ms, check " << checkMs
              << " ms, download and hand-off " << downloadMs << " ms, updater " << installMs
              << " ms, new program " << restartMs << " ms\n";
}

TEST_F(UpdateRelease, AFolderWhoseVersionFileSaysOtherwiseIsNotPublished) {
    const fs::path release = assembleRelease();
    const auto [status, said] = publish(release, "1.0.0.2");
    EXPECT_EQ(status, 1);
    EXPECT_NE(said.find("VERSION"), std::string::npos) << said;
    EXPECT_TRUE(fs::is_empty(site));
}

}  // namespace
}  // namespace tamrivo::testing
