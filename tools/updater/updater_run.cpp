#include "tools/updater/updater_run.h"

#include <string>

#include "base/text_encoding.h"
#include "tools/updater/package_installer.h"
#include "update_format/package_signature.h"
#include "update_format/update_format.h"

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
        case Outcome::NotNewer:
            return kUnchanged + Text("升级文件的版本不比程序新:") + listed(report.names);
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
    // Read once: what is checked is what is unpacked, whatever happens to the file meanwhile.
    const std::optional<Bytes> package =
        readWholeFile(arguments[0], static_cast<std::uint64_t>(kMaxPackageBytes));
    if (!package || package->empty()) {
        host.showMessage("打开升级文件失败", {});
        return 1;
    }
    if (arguments.size() < 3 ||
        !signatureValid(*package, signatureFromHex(arguments[1]), arguments[2])) {
        host.showMessage(kUnchanged + Text("升级文件的签名不对,请联系作者"), {});
        return 1;
    }
    const InstallReport report = installPackage(*package, host.ownDirectory());
    if (report.outcome != Outcome::Installed) {
        host.showMessage(failureMessage(report), {});
        return 1;
    }
    host.showMessage("恭喜!升级完成!", "恭喜");
    return 0;
}

}  // namespace tamrivo
