#include "app/protection_window.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "app/records_rekey.h"
#include "app/records_unlock.h"
#include "app/screen.h"
#include "base/date_format.h"
#include "base/date_time.h"
#include "base/text_encoding.h"
#include "records/daily_backup.h"
#include "records/secret_bytes.h"
#include "ui/windows/protection_window.h"

namespace tamrivo {
namespace {

constexpr char kProtectedState[] =
    "记录已受保护:只有用户的密码或恢复码能打开记录和以后的备份。\r\n"
    "取消保护后,有这个程序的人就能打开记录。";
constexpr char kUnprotectedState[] =
    "记录没有受保护:有这个程序的人,拿到记录或备份的副本就能打开。\r\n"
    "保护之后,只有用户的密码或恢复码才能打开。";

class ProtectionWindow final : public Screen {
public:
    using Screen::Screen;

private:
    bool onEvent(const WindowEvent& event) override {
        switch (event.handler) {
            case Handler::ProtectionWindowCreated:
                showState();
                break;
            case Handler::ProtectRecords:
                protect();
                break;
            case Handler::UnprotectRecords:
                unprotect();
                break;
            case Handler::PrintRecoveryCode:
                if (services().printForm(window(), recoveryForm()) == PrintOutcome::Failed) {
                    showMessage("打印失败,请检查打印机", kMessageTitle);
                }
                break;
            case Handler::SaveRecoveryCodePdf:
                saveRecoveryCode();
                break;
            case Handler::ProtectOldBackups:
                protectOldBackups();
                break;
            case Handler::DeleteOldBackups:
                deleteOldBackups();
                break;
            case Handler::CloseWindow:
                close();
                break;
            default:
                break;
        }
        return false;
    }

    void showState() {
        const bool isProtected = app().state.recordsProtected;
        services().setText(window(), protection_window::kStateLabel,
                           isProtected ? kProtectedState : kUnprotectedState);
        services().setDisabled(window(), protection_window::kProtectButton, isProtected);
        services().setDisabled(window(), protection_window::kUnprotectButton, !isProtected);
        showOldBackups();
    }

    // Backups made before the records were protected still open with the program's key.
    void showOldBackups() {
        services().listClear(window(), protection_window::kBackupsList);
        const std::vector<std::filesystem::path> old =
            app().state.recordsProtected ? unprotectedDailyBackups(programRecordsFile(app()))
                                         : std::vector<std::filesystem::path>();
        for (std::size_t i = 0; i < old.size(); ++i) {
            services().listInsertRow(window(), protection_window::kBackupsList, static_cast<int>(i),
                                     utf8ToGbk(old[i].filename().string()), -1,
                                     static_cast<int>(i));
        }
        services().setDisabled(window(), protection_window::kRekeyBackupsButton, old.empty());
        services().setDisabled(window(), protection_window::kDeleteBackupsButton, old.empty());
    }

    // The password typed again, when it is the logged-in user's; told otherwise.
    std::optional<SecretBytes> confirmedPassword() {
        Text typed = services().text(window(), protection_window::kPasswordEdit);
        services().setText(window(), protection_window::kPasswordEdit, {});
        SecretBytes password = takeSecretText(typed);
        if (password.empty() || !isLoggedInUsersPassword(app(), password)) {
            showMessage("密码不对,请输入您登录时用的密码");
            return std::nullopt;
        }
        return password;
    }

    // The buttons wait while the records are rewritten; the bar shows the work goes on.
    void setBusy(bool busy) {
        for (const char* button :
             {protection_window::kProtectButton, protection_window::kUnprotectButton,
              protection_window::kCloseButton}) {
            services().setDisabled(window(), button, busy);
        }
        services().setProgressBusy(window(), protection_window::kProgressBar, busy);
    }

    void protect() {
        const std::optional<SecretBytes> password = confirmedPassword();
        if (!password) {
            return;
        }
        setBusy(true);
        ProtectionOutcome outcome = protectProgramRecords(app(), *password);
        setBusy(false);
        const bool madeProtected = !outcome.recoveryCode.empty();
        if (madeProtected) {
            recoveryCode_ = std::move(outcome.recoveryCode);
            services().setText(window(), protection_window::kRecoveryCodeEdit,
                               Text(recoveryCode_.text()));
            services().setDisabled(window(), protection_window::kPrintButton, false);
            services().setDisabled(window(), protection_window::kSavePdfButton, false);
        }
        showState();
        if (!outcome.problem.empty()) {
            showMessage(Text(madeProtected ? "记录已受保护,但无法重新打开:"
                                           : "没有保护成功,记录保持原样:") +
                            utf8ToGbk(outcome.problem),
                        kErrorTitle);
            return;
        }
        showMessage("记录已受保护。请马上打印恢复码或存为PDF,收好。");
    }

    void unprotect() {
        if (!confirmedPassword()) {
            return;
        }
        setBusy(true);
        const std::string why = unprotectProgramRecords(app());
        setBusy(false);
        showState();
        showMessage(why.empty() ? Text("已取消保护,记录改用程序内置的密钥。")
                                : "没有取消成功:" + utf8ToGbk(why),
                    why.empty() ? kDefaultMessageTitle : kErrorTitle);
    }

    PrintedForm recoveryForm() const {
        return {"Tamrivo 记录的恢复码",
                {{"恢复码:", Text(recoveryCode_.text())},
                 {"日期:", formatDateTime(currentDateTime(), "yyyy-MM-dd")},
                 {"用法:", "忘记密码时,在登录窗口点\"忘记密码\",输入此码,设新密码。"},
                 {"注意:", "密码和恢复码都丢了,记录就再也打不开。请收在别人拿不到的地方。"}}};
    }

    void saveRecoveryCode() {
        const Text path =
            services().askSaveFileName(window(), "保存恢复码", "恢复码.pdf", "PDF 文件 (*.pdf)");
        if (!path.empty() && !services().saveFormAsPdf(recoveryForm(), path)) {
            showMessage("无法写入文件：" + path, kMessageTitle);
        }
    }

    void protectOldBackups() {
        if (!app().state.dataKey) {
            return;
        }
        const std::filesystem::path records = programRecordsFile(app());
        Text failures;
        for (const std::filesystem::path& backup : unprotectedDailyBackups(records)) {
            if (const std::string why = protectBackup(backup, {*app().state.dataKey, records});
                !why.empty()) {
                failures += "\r\n" + utf8ToGbk(backup.filename().string() + ": " + why);
            }
        }
        showOldBackups();
        showMessage(failures.empty() ? Text("以前的备份都已重新加密。")
                                     : "这些备份没有重新加密:" + failures);
    }

    void deleteOldBackups() {
        if (services().messageBox("删除后,这些备份再也不能用来恢复记录。确定删除吗?", kMessageYesNo,
                                  kDefaultMessageTitle) != kAnswerYes) {
            return;
        }
        Text failures;
        for (const std::filesystem::path& backup :
             unprotectedDailyBackups(programRecordsFile(app()))) {
            std::error_code error;
            if (!std::filesystem::remove(backup, error) && error) {
                failures += "\r\n" + utf8ToGbk(backup.filename().string() + ": " + error.message());
            }
        }
        showOldBackups();
        if (!failures.empty()) {
            showMessage("这些备份没有删掉:" + failures, kErrorTitle);
        }
    }

    SecretBytes recoveryCode_;  // shown once, while the window is open
};

}  // namespace

void openProtectionWindow(App& app) {
    app.services.loadWindow(WindowKind::Protection, std::make_unique<ProtectionWindow>(app),
                            app.state.mainWindow);
}

}  // namespace tamrivo
