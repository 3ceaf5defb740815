#include "net/updater/updater_run.h"

#include <string>

#include "net/updater/package_installer.h"
#include "ui/text_encoding.h"

namespace tamrivo {

namespace {

using Outcome = InstallReport::Outcome;

constexpr auto kProgramEndDelay = std::chrono::milliseconds(3000);
constexpr char kUnchanged[] = "升级失败,程序保持原样。\n";

Text listed(const std::vector<std::string>& names) {
    Text list;
    for (const std::string& name : names) {
        const Text gbk = utf8ToGbk(name);
        list += "\n" + (gbk.empty() ? name : gbk);
    }
    return list;
}

Text megabytes(std::uint64_t bytes) {
    return std::to_string((bytes + (1U << 20) - 1) >> 20) + " MB";
}

// What the landlord is told when the package did not go in.
Text failureMessage(const InstallReport& report) {
    switch (report.outcome) {
        case Outcome::Unreadable:
            return "打开升级文件失败";
        case Outcome::Refused:
            return kUnchanged + Text("以下文件不能放进程序目录:") + listed(report.names);
        case Outcome::Damaged:
            return kUnchanged + Text("升级文件已损坏:") + listed(report.names);
        case Outcome::NoSpace:
            return kUnchanged + Text("磁盘空间不足:需要 ") + megabytes(report.needed) + ",可用 " +
                   megabytes(report.available);
        case Outcome::WriteFailed:
            return kUnchanged + Text("以下文件未能写入:") + listed(report.names);
        case Outcome::NotRestored:
            return Text("升级失败,以下文件未能恢复,请重新安装程序:") + listed(report.names);
        case Outcome::Installed:
            break;
    }
    return {};
}

}  // namespace

int runUpdater(std::span<const std::string> arguments, UpdaterHost& host) {
    if (arguments.empty()) {
        return 0;
    }
    host.wait(kProgramEndDelay);
    const InstallReport report = installPackage(arguments.front(), host.ownDirectory());
    if (report.outcome != Outcome::Installed) {
        host.showMessage(failureMessage(report), {});
        return 1;
    }
    host.showMessage("恭喜!升级完成!", "恭喜");
    return 0;
}

}  // namespace tamrivo
