#include <atomic>
#include <fstream>
#include <thread>

#include "data/database.h"
#include "records/database_setup.h"
#include "tests/app/app_fixture.h"
#include "tests/support/library_text.h"
#include "ui/windows/login_window.h"
#include "ui/windows/password_window.h"

namespace tamrivo::testing {
namespace {

using StartUp = AppTest;

TEST_F(StartUp, WithoutTheDatabaseTellsWhyAndOpensNoWindow) {
    EXPECT_FALSE(startProgram(app));
    ASSERT_EQ(responder.count(), 1u);
    const auto box = responder.boxes().front();
    EXPECT_TEXT_EQ(box.content.substr(0, 16), "打开数据库失败\r\n");
    EXPECT_GT(box.content.size(), 16u);  // the library's reason follows
    EXPECT_TEXT_EQ(box.title, "Msg");
    EXPECT_TRUE(services.openWindows(WindowKind::Login).empty());
}

TEST_F(StartUp, AFileOfAnotherKeyIsRefused) {
    std::filesystem::create_directories(databaseFile().parent_path());
    Database other;
    ASSERT_TRUE(other.open(utf8ToGbk(databaseFile().string()), "another key", true));
    ASSERT_TRUE(other.run("CREATE TABLE b_yh (id INTEGER PRIMARY KEY, yhm TEXT, mm TEXT)"));
    other.close();

    EXPECT_FALSE(startProgram(app));
    EXPECT_TEXT_EQ(lastBoxText(), "打开数据库失败\r\n" + testing::libraryText(SQLITE_NOTADB));
}

TEST_F(StartUp, AnEmptyFileOpensButNobodyCanLogIn) {
    std::filesystem::create_directories(databaseFile().parent_path());
    std::ofstream(databaseFile()).close();
    ASSERT_TRUE(startProgram(app));
    EXPECT_EQ(logIn("admin", "904817"), 0);
    EXPECT_NE(only(WindowKind::Login), 0);
    EXPECT_EQ(responder.count(), 0u);  // a failed login is answered by nothing
}

TEST_F(StartUp, AnOpeningBegunBeforeTheWindowsEndsInTheLoginWindowOnlyOnSuccess) {
    const Text directory = services.programDirectory();
    DatabaseOpening missing(directory);
    EXPECT_FALSE(startProgram(app, missing));
    EXPECT_TEXT_EQ(lastBoxText(), "打开数据库失败\r\nunable to open database file");
    EXPECT_TRUE(services.openWindows(WindowKind::Login).empty());
    state.database.close();  // the failed connection, kept for its message

    makeDatabase();
    DatabaseOpening present(directory);
    ASSERT_TRUE(startProgram(app, present));
    EXPECT_NE(logIn("admin", "904817"), 0);  // on the connection the opening made
}

// What the opening thread asks of the window thread while start-up waits for it (a fatal
// error's message box) must be answered, or both would wait for ever.
TEST_F(StartUp, TheWindowThreadKeepsAnsweringWhileTheDatabaseOpens) {
    makeDatabase();
    std::atomic<bool> answered = false;
    DatabaseOpening opening(services.programDirectory());
    std::thread asking([&] {
        services.messageBox("从别的线程", kMessageOk);
        answered = true;
    });
    ASSERT_TRUE(startProgram(app, opening));
    const bool answeredDuringStart = answered;
    while (!answered) {
        processEvents();  // lets the thread go when start-up did not
    }
    asking.join();
    EXPECT_TRUE(answeredDuringStart);
    EXPECT_TEXT_EQ(responder.boxes().front().content, "从别的线程");
}

using Login = AppTest;

TEST_F(Login, TheRightPasswordReplacesTheLoginWindowWithTheMainWindow) {
    const WindowHandle main = startAndLogIn();
    ASSERT_NE(main, 0);
    ASSERT_TRUE(waitUntil([&] { return services.openWindows(WindowKind::Login).empty(); }));
    EXPECT_TEXT_EQ(statusPart(main, 0), "版本号:1.0.0.0");
    EXPECT_TEXT_EQ(statusPart(main, 2), "房间数量:0/0");
}

TEST_F(Login, WrongEmptyAndInjectedPasswordsDoNothing) {
    makeDatabase();
    ASSERT_TRUE(startProgram(app));
    EXPECT_EQ(logIn("admin", "wrong"), 0);
    EXPECT_EQ(logIn("", ""), 0);
    EXPECT_EQ(logIn("' OR '1'='1", "x"), 0);
    EXPECT_EQ(logIn("admin' --", "x"), 0);
    EXPECT_NE(only(WindowKind::Login), 0);
    EXPECT_EQ(responder.count(), 0u);
}

TEST_F(Login, EnterInThePasswordBoxLogsIn) {
    makeDatabase();
    ASSERT_TRUE(startProgram(app));
    const WindowHandle login = only(WindowKind::Login);
    typeText(services, login, login_window::kUserNameEdit, "admin");
    typeText(services, login, login_window::kPasswordEdit, "904817");
    pressKey(services, login, login_window::kPasswordEdit, Qt::Key_Return);
    EXPECT_TRUE(waitUntil([&] { return only(WindowKind::Main) != 0; }));
}

using Password = AppTest;

TEST_F(Password, ANewPasswordWithABlankIsRefusedAndOneWithoutIsStoredAsTyped) {
    const WindowHandle main = startAndLogIn();
    command(main, -1, "修改密码");
    const WindowHandle window = only(WindowKind::Password);
    ASSERT_NE(window, 0);

    clickControl(services, window, password_window::kConfirmButton);
    EXPECT_TEXT_EQ(lastBoxText(), "选择用户");

    pickComboItem(services, window, password_window::kUserCombo, 0);
    clickControl(services, window, password_window::kConfirmButton);
    EXPECT_TEXT_EQ(lastBoxText(), "新密码不能为空");

    // What the masked login box cannot take is refused before anything is stored.
    const Text digestBefore = queryText("SELECT mm FROM b_yh WHERE yhm='admin'");
    for (const Text untypable : {"你好", "ab\x80", "pass\x7F"}) {
        services.setText(window, password_window::kPasswordEdit, untypable);
        clickControl(services, window, password_window::kConfirmButton);
        EXPECT_TEXT_EQ(lastBoxText(),
                       "新密码只能使用英文字母、数字和英文符号,登录时的密码框无法输入中文");
    }
    EXPECT_TEXT_EQ(queryText("SELECT mm FROM b_yh WHERE yhm='admin'"), digestBefore);

    // The login takes what is typed, blanks and all: a blank is refused, not removed.
    for (const Text blank : {"ab c　d", " 　 ", "ab cd", "abcd ", "a\tb"}) {
        services.setText(window, password_window::kPasswordEdit, blank);
        clickControl(services, window, password_window::kConfirmButton);
        EXPECT_TEXT_EQ(lastBoxText(), "新密码不能含有空格(包括全角空格和制表符)");
    }
    EXPECT_TEXT_EQ(queryText("SELECT mm FROM b_yh WHERE yhm='admin'"), digestBefore);

    services.setText(window, password_window::kPasswordEdit, "abcd");
    clickControl(services, window, password_window::kConfirmButton);
    EXPECT_TEXT_EQ(lastBoxText(), "密码修改成功了!请牢记新密码!");
    EXPECT_TRUE(waitUntil([&] { return only(WindowKind::Password) == 0; }));
    // the digest of "abcd" in upper case
    EXPECT_TEXT_EQ(queryText("SELECT mm FROM b_yh WHERE yhm='admin'"),
                   "E2FC714C4727EE9395F324CD2E7F331F");
}

}  // namespace
}  // namespace tamrivo::testing
