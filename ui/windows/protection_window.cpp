#include "ui/windows/protection_window.h"
#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

// Turns the protection of the records on or off, shows the recovery code once, and deals with
// the backups made before.
const WindowDefinition& protectionWindow() {
    using enum EventKind;
    using namespace protection_window;
    static const WindowDefinition definition{
        .caption = "保护记录",
        .width = 580,
        .height = 580,
        .events = {{Created, Handler::ProtectionWindowCreated}},
        .controls =
            {
                label(protection_window::kStateLabel, "", {16, 10, 540, 56}),
                label(protection_window::kPasswordLabel, "您的密码:", {16, 78, 80, 24}),
                editBox(protection_window::kPasswordEdit, {100, 76, 190, 25})
                    .mode(EditMode::Password)
                    .limit(kPasswordLimit),
                button(protection_window::kProtectButton, "保护记录", {304, 75, 110, 27})
                    .on(Clicked, Handler::ProtectRecords),
                button(protection_window::kUnprotectButton, "取消保护", {428, 75, 110, 27})
                    .on(Clicked, Handler::UnprotectRecords),
                progressBar(protection_window::kProgressBar, {16, 112, 540, 16}, 100),
                groupBox(protection_window::kRecoveryGroup, "恢复码", {8, 136, 556, 150}),
                label(protection_window::kRecoveryExplanationLabel,
                      "恢复码只显示这一次。请打印或存为PDF,收在别人拿不到的地方。\r\n"
                      "忘记了密码,可在登录窗口点\"忘记密码\",用恢复码设新密码。\r\n"
                      "密码和恢复码都丢了,记录就再也打不开,谁也找不回来。",
                      {8, 22, 536, 60})
                    .in(protection_window::kRecoveryGroup),
                editBox(protection_window::kRecoveryCodeEdit, {8, 88, 536, 25})
                    .mode(EditMode::ReadOnly)
                    .in(protection_window::kRecoveryGroup),
                button(protection_window::kPrintButton, "打印", {312, 118, 108, 26})
                    .in(protection_window::kRecoveryGroup)
                    .disabledAtStart()
                    .on(Clicked, Handler::PrintRecoveryCode),
                button(protection_window::kSavePdfButton, "存为PDF", {436, 118, 108, 26})
                    .in(protection_window::kRecoveryGroup)
                    .disabledAtStart()
                    .on(Clicked, Handler::SaveRecoveryCodePdf),
                groupBox(protection_window::kBackupsGroup,
                         "以前的备份(用程序内置的密钥加密,有程序就能打开)", {8, 294, 556, 244}),
                listView(protection_window::kBackupsList, {8, 22, 536, 110})
                    .in(protection_window::kBackupsGroup),
                label(
                    kBackupsExplanationLabel,
                    "重新加密:备份改用受保护记录的密钥,只有密码或恢复码才能打开,仍可用来恢复。\r\n"
                    "删除:备份从磁盘上删掉,再也不能用它恢复记录。",
                    {8, 136, 536, 40})
                    .in(protection_window::kBackupsGroup),
                button(protection_window::kRekeyBackupsButton, "全部重新加密", {296, 182, 120, 26})
                    .in(protection_window::kBackupsGroup)
                    .disabledAtStart()
                    .on(Clicked, Handler::ProtectOldBackups),
                button(protection_window::kDeleteBackupsButton, "全部删除", {424, 182, 120, 26})
                    .in(protection_window::kBackupsGroup)
                    .disabledAtStart()
                    .on(Clicked, Handler::DeleteOldBackups),
                // In the last box, so that Tab reaches it last, as it is read.
                button(protection_window::kCloseButton, "关闭", {464, 212, 80, 26})
                    .in(protection_window::kBackupsGroup)
                    .on(Clicked, Handler::CloseWindow),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
