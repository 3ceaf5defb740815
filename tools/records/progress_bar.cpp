#include "tools/records/progress_bar.h"

#include <algorithm>
#include <ostream>

namespace tamrivo {

std::string progressBar(int remaining, int total, int width) {
    const long long done = total > 0 ? std::clamp(total - remaining, 0, total) : 0;
    const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 100;
    const int filled = width * percent / 100;
    std::string bar = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                      std::string(static_cast<std::size_t>(width - filled), '.') + "] ";
    const std::string number = std::to_string(percent);
    return bar + std::string(3 - number.size(), ' ') + number + "%";
}

BackupProgress terminalProgress(Console& console) {
    if (!console.terminal) {
        return {};
    }
    return [&console](int remaining, int total) {
        console.err << '\r' << progressBar(remaining, total) << std::flush;
    };
}

}  // namespace tamrivo
