// The update road through the whole program: the start-up check, the update window, the
// download of the package and the hand-off to the real updater, against servers on loopback.

#include <sys/wait.h>

#include <QPlainTextEdit>
#include <QProgressBar>

#include <atomic>
#include <csignal>
#include <thread>

#include "engine/conversions.h"
#include "tests/app/app_fixture.h"
#include "tests/app/update_server.h"
#include "tests/support/download_server.h"
#include "tests/support/file_contents.h"
#include "tests/support/raw_http_listener.h"
#include "tests/support/test_keys.h"
#include "tests/support/test_package.h"
#include "ui/windows/update_window.h"
#include "update_format/install_journal.h"
#include "update_format/updater_image.h"

namespace tamrivo::testing {
namespace {

constexpr char kRunning[] = "1.0.0.0";
constexpr char kNewer[] = "1.0.1.0";
constexpr char kNotes[] = "修复退房结算";
constexpr char kAntivirusWarning[] =
    "升级检测需要释放解压文件,部分杀软会阻断,如果发生升级失败,请关闭杀毒软件在尝试!";
constexpr char kRequestLines[] =
    "正在发送升级请求信息\r\n发送升级请求信息成功\r\n等待服务器响应\r\n等待服务器响应\r\n";
constexpr char kSuccessLines[] = "新版本下载完成\r\n下载成功,准备更新!\r\n";
// The updater first waits for the program to end, then unpacks.
constexpr int kUpdaterPatienceMs = 10000;

// What the update window showed, kept past its end, since the hand-off closes it.
class WindowWatch {
public:
    WindowWatch(QtWindowServices& services, WindowHandle window) {
        auto* log = qobject_cast<QPlainTextEdit*>(services.widget(window, update_window::kLogEdit));
        auto* bar =
            qobject_cast<QProgressBar*>(services.widget(window, update_window::kProgressBar));
        QWidget* frame = services.widget(window);
        if (log == nullptr || bar == nullptr || frame == nullptr) {
            ADD_FAILURE() << "not an update window";
            return;
        }
        log_ = fromQtLines(log->toPlainText());
        connections_ = {
            QObject::connect(log, &QPlainTextEdit::textChanged, log,
                             [this, log] { log_ = fromQtLines(log->toPlainText()); }),
            QObject::connect(bar, &QProgressBar::valueChanged, bar,
                             [this](int position) { positions_.push_back(position); }),
            QObject::connect(
                frame, &QWidget::windowTitleChanged, frame,
                [this](const QString& caption) { captions_.push_back(fromQString(caption)); }),
        };
    }
    ~WindowWatch() {
        for (const QMetaObject::Connection& connection : connections_) {
            QObject::disconnect(connection);
        }
    }
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;

    const Text& log() const { return log_; }
    const std::vector<int>& positions() const { return positions_; }
    const std::vector<Text>& captions() const { return captions_; }

private:
    Text log_;
    std::vector<int> positions_;
    std::vector<Text> captions_;
    std::vector<QMetaObject::Connection> connections_;
};

// The program on an update endpoint; it ends whatever updater the program left running.
class UpdateTest : public AppTest {
protected:
    explicit UpdateTest(Text updateEndpoint,
                        UpdateDelivery updateDelivery = UpdateDelivery::Download)
        : AppTest(std::move(updateEndpoint), publisherKeys().publicPem, updateDelivery) {}
    ~UpdateTest() override { endStartedPrograms(); }

    // The toolbar command: the antivirus warning first, then the window; 0 when none opened.
    WindowHandle openUpdateWindow(WindowHandle main) {
        bool warnedFirst = false;
        responder.whileShown([&](const MessageBoxRequest& box) {
            if (box.content == kAntivirusWarning) {
                warnedFirst = services.openWindows(WindowKind::Update).empty();
            }
        });
        command(main, -1, "升级检测");
        responder.whileShown({});
        EXPECT_TRUE(warnedFirst) << "the antivirus warning comes before the window";
        return only(WindowKind::Update);
    }

    // Waits until every update check has ended, the windows answering meanwhile, and lets
    // their last writes land.
    void finishChecks() {
        std::atomic<bool> finished = false;
        std::jthread waiter([&] {
            state.updateChecker.waitForChecks();
            finished = true;
        });
        EXPECT_TRUE(waitUntil([&] { return finished.load(); }));
        waiter.join();
        processEvents();
    }

    Text log(WindowHandle update) { return services.text(update, update_window::kLogEdit); }
    bool upgradeEnabled(WindowHandle update) {
        const QWidget* button = services.widget(update, update_window::kUpgradeButton);
        return button != nullptr && button->isEnabled();
    }
    // With the last window gone, the program's message loop ends.
    bool noWindowLeft() {
        for (int kind = 0; kind <= static_cast<int>(kLastWindowKind); ++kind) {
            if (!services.openWindows(static_cast<WindowKind>(kind)).empty()) {
                return false;
            }
        }
        return true;
    }

    std::filesystem::path inProgramFolder(const std::string& name) const {
        return folder.path() / name;
    }

    void endStartedPrograms() {
        for (const int process : services.runningPrograms()) {
            ::kill(process, SIGKILL);
            ::waitpid(process, nullptr, 0);
        }
    }
};

struct UpdateServerFirst {
    UpdateServer server;
};

// The update server answers with the release it is told to offer.
class UpdateRoad : protected UpdateServerFirst, public UpdateTest {
protected:
    UpdateRoad() : UpdateTest(server.endpoint()) {}

    // Opens the update window on an offered release and waits until it may be upgraded.
    WindowHandle openOnNewRelease(const std::string& packageAddress,
                                  const std::string& packageBytes) {
        server.offer(kNewer, kNotes, packageAddress, packageBytes);
        const WindowHandle main = startAndLogIn();
        const WindowHandle update = openUpdateWindow(main);
        EXPECT_TRUE(waitUntil([&] { return upgradeEnabled(update); }));
        return update;
    }
};

TEST_F(UpdateRoad, StartupCheckOnTheRunningVersionShowsAdmin) {
    server.offer(kRunning, kNotes, server.packageUrl());
    const WindowHandle main = startAndLogIn();
    finishChecks();
    EXPECT_EQ(server.checkRequests(), 1);
    EXPECT_TEXT_EQ(statusPart(main, 5), "admin");
    EXPECT_EQ(responder.count(), 0u);
}

TEST_F(UpdateRoad, StartupCheckOnAnotherVersionSaysSoInTheStatusBarAndABox) {
    server.offer(kNewer, kNotes, server.packageUrl());
    const WindowHandle main = startAndLogIn();
    finishChecks();
    EXPECT_TEXT_EQ(statusPart(main, 5), "有新版本可以升级");
    ASSERT_EQ(responder.count(), 1u);
    const MessageBoxRequest box = responder.boxes().front();
    EXPECT_TEXT_EQ(box.content, "发现新版本,如果需要更新,请手动点击升级按钮进行升级!");
    EXPECT_TEXT_EQ(box.title, kDefaultMessageTitle);
    EXPECT_EQ(box.flags, kMessageOk);
}

// The Debian package's build: apt installs releases, so the program never fetches one.
class SystemUpdatedRoad : protected UpdateServerFirst, public UpdateTest {
protected:
    SystemUpdatedRoad() : UpdateTest(server.endpoint(), UpdateDelivery::SystemPackages) {}
};

TEST_F(SystemUpdatedRoad, TheUpdateWindowNamesTheSystemUpdateAndNeverDownloads) {
    server.setPackage("package");
    server.offer(kNewer, kNotes, server.packageUrl(), "package");
    const WindowHandle main = startAndLogIn();
    const WindowHandle update = openUpdateWindow(main);
    ASSERT_TRUE(
        waitUntil([&] { return log(update).ends_with("sudo apt update && sudo apt upgrade"); }));
    EXPECT_TRUE(log(update).starts_with(Text(kNewer) + "\r\n" + kNotes + "\r\n"));
    EXPECT_FALSE(upgradeEnabled(update));

    // Even a button somehow pressed fetches nothing and starts no updater.
    services.setDisabled(update, update_window::kUpgradeButton, false);
    ASSERT_TRUE(clickControl(services, update, update_window::kUpgradeButton));
    finishChecks();
    EXPECT_EQ(server.packageRequests(), 0);
    EXPECT_FALSE(std::filesystem::exists(inProgramFolder("up.tmp")));
    EXPECT_FALSE(std::filesystem::exists(inProgramFolder(kUpdaterFileName)));
    EXPECT_TRUE(services.runningPrograms().empty());
    EXPECT_EQ(only(WindowKind::Update), update);
    EXPECT_TEXT_EQ(statusPart(main, 5), "有新版本可以升级");
}

class NoUpdateServer : public UpdateTest {
protected:
    NoUpdateServer() : UpdateTest(kNoUpdateServer) {}
};

TEST_F(NoUpdateServer, StartupCheckSaysItFailed) {
    const WindowHandle main = startAndLogIn();
    finishChecks();
    EXPECT_TEXT_EQ(statusPart(main, 5), "检测升级失败");
    EXPECT_EQ(responder.count(), 0u);
}

TEST_F(UpdateRoad, UpdateWindowOnTheRunningVersionSaysSoAndClosesItselfAfterAWhile) {
    server.offer(kRunning, kNotes, server.packageUrl());
    const WindowHandle main = startAndLogIn();
    const WindowHandle update = openUpdateWindow(main);
    ASSERT_NE(update, 0);

    ASSERT_TRUE(waitUntil([&] { return log(update) == "未发现新版本!3秒后自动退出"; }));
    EXPECT_EQ(only(WindowKind::Update), update) << "it stays a while to be read";
    EXPECT_FALSE(upgradeEnabled(update));
    EXPECT_TRUE(waitUntil([&] { return services.openWindows(WindowKind::Update).empty(); }, 8000));
    EXPECT_EQ(only(WindowKind::Main), main);
}

TEST_F(UpdateRoad, UpdateWindowOnAnotherVersionShowsItWithTheNotesAndOffersTheUpgrade) {
    const WindowHandle update = openOnNewRelease(server.packageUrl(), {});
    ASSERT_NE(update, 0);
    EXPECT_TEXT_EQ(log(update), Text(kNewer) + "\r\n" + kNotes);
    finishChecks();
    EXPECT_EQ(only(WindowKind::Update), update);
}

TEST_F(UpdateRoad, DownloadedPackageIsUnpackedByTheUpdaterAsTheProgramEnds) {
    const auto packageFile = folder.path() / "served.zip";
    writePackage(packageFile, {{"升级说明.txt", "新版本"}, {"资料/房间.txt", "一号房"}});
    const std::string package = readFile(packageFile);
    server.setPackage(package);
    const WindowHandle update = openOnNewRelease(server.packageUrl(), package);
    WindowWatch watch(services, update);

    ASSERT_TRUE(clickControl(services, update, update_window::kUpgradeButton));
    ASSERT_TRUE(waitUntil([&] { return noWindowLeft(); }, 8000)) << "the program ends";

    EXPECT_TEXT_EQ(watch.log(), Text(kNewer) + "\r\n" + kNotes + kRequestLines + kSuccessLines);
    ASSERT_FALSE(watch.captions().empty());
    EXPECT_TEXT_EQ(watch.captions().front(), "正在下载.......");
    ASSERT_FALSE(watch.positions().empty());
    EXPECT_EQ(watch.positions().back(), 100);
    EXPECT_EQ(readFile(inProgramFolder("up.tmp")), package);
    EXPECT_EQ(server.packageRequests(), 1);

    const auto updater = inProgramFolder(kUpdaterFileName);
    const auto image = updaterImage();
    EXPECT_EQ(readFile(updater), std::string(image.begin(), image.end()));
    const auto running = services.runningPrograms();
    ASSERT_EQ(running.size(), 1u);
    const std::string process = "/proc/" + std::to_string(running.front());
    EXPECT_EQ(std::filesystem::read_symlink(process + "/exe"), updater);
    EXPECT_EQ(readFile(process + "/cmdline"),
              updater.string() + '\0' + inProgramFolder("up.tmp").string() + '\0' +
                  signatureOf(package) + '\0' + publisherKeys().publicPem + '\0');

    const auto unpacked = folder.path() / std::filesystem::path(u8"资料/房间.txt");
    EXPECT_TRUE(waitUntil([&] { return readFile(unpacked) == "一号房"; }, kUpdaterPatienceMs));
    EXPECT_EQ(readFile(folder.path() / std::filesystem::path(u8"升级说明.txt")), "新版本");
}

TEST_F(UpdateRoad, APressWhileTheUpdaterStartsLeavesTheDownloadedPackageAlone) {
    server.setPackage("the package the updater is about to open");
    const WindowHandle update =
        openOnNewRelease(server.packageUrl(), "the package the updater is about to open");

    ASSERT_TRUE(clickControl(services, update, update_window::kUpgradeButton));
    ASSERT_TRUE(waitUntil([&] { return log(update).ends_with("下载成功,准备更新!\r\n"); }));
    clickControl(services, update,
                 update_window::kUpgradeButton);  // the window stays while the updater starts
    ASSERT_TRUE(waitUntil([&] { return noWindowLeft(); }, 8000)) << "the program ends";

    state.downloader.stop();  // whatever the press may have started has ended
    EXPECT_EQ(server.packageRequests(), 1);
    EXPECT_EQ(state.downloader.getState().result, kDownloadSucceeded);
    EXPECT_EQ(readFile(inProgramFolder("up.tmp")), "the package the updater is about to open");
}

TEST_F(UpdateRoad, AnUpdaterThatCannotBeWrittenLeavesTheProgramRunningToTryAgain) {
    // What antivirus software does to it, as far as the program can tell.
    std::filesystem::create_directory(inProgramFolder(kUpdaterFileName));
    server.setPackage("package");
    const WindowHandle update = openOnNewRelease(server.packageUrl(), "package");

    ASSERT_TRUE(clickControl(services, update, update_window::kUpgradeButton));
    ASSERT_TRUE(waitUntil([&] { return log(update).ends_with("下载成功,准备更新!\r\n"); }));
    state.downloader.stop();  // the hand-off has given up
    processEvents();

    EXPECT_TRUE(log(update).ends_with("下载成功,准备更新!\r\n"));
    EXPECT_TRUE(upgradeEnabled(update));
    EXPECT_NE(only(WindowKind::Main), 0);
    EXPECT_TRUE(services.runningPrograms().empty());
}

TEST_F(UpdateRoad, PressingTheUpgradeAgainCancelsTheRunningDownloadAndStartsAfresh) {
    DownloadServer packages;
    const WindowHandle update =
        openOnNewRelease(packages.url("/gated"), servedBody(DownloadServer::kGateLength));
    WindowWatch watch(services, update);

    ASSERT_TRUE(clickControl(services, update, update_window::kUpgradeButton));
    ASSERT_TRUE(waitUntil([&] { return state.downloader.getState().receivedBytes > 0; }));
    ASSERT_TRUE(clickControl(services, update, update_window::kUpgradeButton));
    packages.openGate();
    ASSERT_TRUE(waitUntil([&] { return noWindowLeft(); }, 8000)) << "the program ends";

    EXPECT_TEXT_EQ(watch.log(), Text(kNewer) + "\r\n" + kNotes + kRequestLines +
                                    "下载异常被取消\r\n" + kRequestLines + kSuccessLines);
    EXPECT_EQ(packages.requestCount(), 2);
    EXPECT_TRUE(fileHoldsBody(inProgramFolder("up.tmp").string(), DownloadServer::kGateLength));
    EXPECT_EQ(services.runningPrograms().size(), 1u);
}

TEST_F(UpdateRoad, ADownloadOutlivesItsClosedWindowAndStillHandsOver) {
    DownloadServer packages;
    const WindowHandle update =
        openOnNewRelease(packages.url("/gated"), servedBody(DownloadServer::kGateLength));

    ASSERT_TRUE(clickControl(services, update, update_window::kUpgradeButton));
    ASSERT_TRUE(waitUntil([&] { return state.downloader.getState().receivedBytes > 0; }));
    services.widget(update)->close();
    processEvents();
    ASSERT_TRUE(services.openWindows(WindowKind::Update).empty());
    packages.openGate();
    ASSERT_TRUE(waitUntil([&] { return noWindowLeft(); }, 8000)) << "the program ends";

    EXPECT_TRUE(fileHoldsBody(inProgramFolder("up.tmp").string(), DownloadServer::kGateLength));
    EXPECT_EQ(services.runningPrograms().size(), 1u);
}

// An updater killed between its changes left a journal: the program's start undoes the
// change before anything else, so its files are all of one version again.
TEST_F(NoUpdateServer, AStartUndoesAnUpdateKilledHalfWayBeforeAnythingElse) {
    writeFile(inProgramFolder("notes.txt"), "old notes");
    const InstallWork work(folder.path());
    ASSERT_TRUE(work.create());
    InstallStep step;
    step.relative = "notes.txt";
    step.replaces = true;
    ASSERT_TRUE(work.writeJournal({step}));
    std::filesystem::create_hard_link(inProgramFolder("notes.txt"), work.backedUp("notes.txt"));
    writeFile(work.staged("notes.txt"), "new notes");
    std::filesystem::rename(work.staged("notes.txt"), inProgramFolder("notes.txt"));

    EXPECT_NE(startAndLogIn(), 0);
    EXPECT_EQ(readFile(inProgramFolder("notes.txt")), "old notes");
    EXPECT_FALSE(std::filesystem::exists(inProgramFolder(kUpdateWorkFolder)));
}

struct SilentListenerFirst {
    RawHttpListener listener;  // takes requests and never answers
};

class SilentUpdateServer : protected SilentListenerFirst, public UpdateTest {
protected:
    SilentUpdateServer()
        : UpdateTest("http://127.0.0.1:" + std::to_string(listener.port()) + "/autoUpdate.php") {}
};

TEST_F(SilentUpdateServer, ClosingTheUpdateWindowDropsItsWaitingCheck) {
    const WindowHandle main = startAndLogIn();
    const WindowHandle update = openUpdateWindow(main);
    ASSERT_NE(update, 0);
    ASSERT_EQ(listener.waitForRequests(2).size(), 2u) << "both checks wait for an answer";
    EXPECT_TEXT_EQ(log(update), "");
    EXPECT_FALSE(upgradeEnabled(update));

    services.widget(update)->close();  // from its frame, as a person would
    processEvents();
    EXPECT_TRUE(services.openWindows(WindowKind::Update).empty());
    EXPECT_TRUE(listener.waitForHangUps(1));
    EXPECT_EQ(only(WindowKind::Main), main);
    EXPECT_TEXT_EQ(statusPart(main, 5), "正在检测升级..请稍后");
}

}  // namespace
}  // namespace tamrivo::testing
