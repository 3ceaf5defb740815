#include "base/text_limits.h"
#include "ui/windows/window_list.h"

namespace tamrivo::windows {

// Turns the protection of the records on or off, shows the recovery code once, and deals with
// the backups made before.
const WindowDefinition& protectionWindow() {
    using enum EventKind;
    static const WindowDefinition definition{
        .caption = "保护记录",
        .width = 580,
        .height = 580,
        .events = {{Created, Handler::ProtectionWindowCreated}},
        .controls =
            {
                label("标签_状态", "", {16, 10, 540, 56}),
                label("标签_密码", "您的密码:", {16, 78, 80, 24}),
                editBox("编辑框_密码", {100, 76, 190, 25})
                    .mode(EditMode::Password)
                    .limit(kPasswordLimit),
                button("按钮_保护", "保护记录", {304, 75, 110, 27})
                    .on(Clicked, Handler::ProtectRecords),
                button("按钮_取消保护", "取消保护", {428, 75, 110, 27})
                    .on(Clicked, Handler::UnprotectRecords),
                progressBar("进度条1", {16, 112, 540, 16}, 100),
                groupBox("分组框_恢复码", "恢复码", {8, 136, 556, 150}),
                label("标签_恢复码说明",
                      "恢复码只显示这一次。请打印或存为PDF,收在别人拿不到的地方。\r\n"
                      "忘记了密码,可在登录窗口点\"忘记密码\",用恢复码设新密码。\r\n"
                      "密码和恢复码都丢了,记录就再也打不开,谁也找不回来。",
                      {8, 22, 536, 60})
                    .in("分组框_恢复码"),
                editBox("编辑框_恢复码", {8, 88, 536, 25})
                    .mode(EditMode::ReadOnly)
                    .in("分组框_恢复码"),
                button("按钮_打印", "打印", {312, 118, 108, 26})
                    .in("分组框_恢复码")
                    .disabledAtStart()
                    .on(Clicked, Handler::PrintRecoveryCode),
                button("按钮_存为PDF", "存为PDF", {436, 118, 108, 26})
                    .in("分组框_恢复码")
                    .disabledAtStart()
                    .on(Clicked, Handler::SaveRecoveryCodePdf),
                groupBox("分组框_备份", "以前的备份(用程序内置的密钥加密,有程序就能打开)",
                         {8, 294, 556, 244}),
                listView("超级列表框_备份", {8, 22, 536, 110}).in("分组框_备份"),
                label(
                    "标签_备份说明",
                    "重新加密:备份改用受保护记录的密钥,只有密码或恢复码才能打开,仍可用来恢复。\r\n"
                    "删除:备份从磁盘上删掉,再也不能用它恢复记录。",
                    {8, 136, 536, 40})
                    .in("分组框_备份"),
                button("按钮_重新加密", "全部重新加密", {296, 182, 120, 26})
                    .in("分组框_备份")
                    .disabledAtStart()
                    .on(Clicked, Handler::ProtectOldBackups),
                button("按钮_删除备份", "全部删除", {424, 182, 120, 26})
                    .in("分组框_备份")
                    .disabledAtStart()
                    .on(Clicked, Handler::DeleteOldBackups),
                // In the last box, so that Tab reaches it last, as it is read.
                button("按钮_关闭", "关闭", {464, 212, 80, 26})
                    .in("分组框_备份")
                    .on(Clicked, Handler::CloseWindow),
            },
    };
    return definition;
}

}  // namespace tamrivo::windows
