#include "net/updater/updater_run.h"

#include "net/updater/package_extractor.h"
#include "ui/text_encoding.h"

namespace tamrivo {

namespace {

constexpr auto kProgramEndDelay = std::chrono::milliseconds(3000);

Text namesLeftOut(const ExtractionReport& report) {
    Text names;
    for (const auto* list : {&report.refused, &report.failed}) {
        for (const std::string& name : *list) {
            const Text gbk = utf8ToGbk(name);
            names += "\n" + (gbk.empty() ? name : gbk);
        }
    }
    return names;
}

}  // namespace

int runUpdater(std::span<const std::string> arguments, UpdaterHost& host) {
    if (arguments.empty()) {
        return 0;
    }
    host.wait(kProgramEndDelay);
    const ExtractionReport report = extractPackage(arguments.front(), host.ownDirectory());
    if (!report.opened) {
        host.showMessage("打开升级文件失败", {});
        return 1;
    }
    const Text leftOut = namesLeftOut(report);
    if (leftOut.empty()) {
        host.showMessage("恭喜!升级完成!", "恭喜");
        return 0;
    }
    host.showMessage(Text("恭喜!升级完成!") + "\n以下文件未能写入:" + leftOut, "恭喜");
    return 1;
}

}  // namespace tamrivo
