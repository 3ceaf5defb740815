#pragma once

#include <chrono>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "tests/support/null_window_services.h"

namespace tamrivo::testing {

// Window services that remember what the update window was told, from any thread. Files
// are really written; everything else only recorded.
class DownloadWindowServices : public NullWindowServices {
public:
    Text directory;
    int progressBarMaximum = 100;
    bool failWrites = false;

    std::vector<Text> log() const;
    // Everything appended to the log, as the edit box shows it.
    Text logText() const;
    std::vector<Text> captions() const;
    std::vector<int> positions() const;
    std::vector<bool> busyStates() const;
    std::vector<std::vector<Text>> startedPrograms() const;
    std::vector<WindowHandle> destroyedWindows() const;
    // Waits (bounded) until the log holds the line the given number of times.
    bool waitForLogLine(const Text& line, int times = 1,
                        std::chrono::milliseconds patience = std::chrono::seconds(30));

    void destroyWindow(WindowHandle window) override;
    void setText(WindowHandle window, const Text& control, const Text& text) override;
    int progressMaximum(WindowHandle window, const Text& progressBar) override;
    void setProgressPosition(WindowHandle window, const Text& progressBar, int position) override;
    void setProgressBusy(WindowHandle window, const Text& progressBar, bool busy) override;
    void editAppend(WindowHandle window, const Text& edit, const Text& text) override;
    Text programDirectory() override { return directory; }
    bool runProgram(const std::vector<Text>& arguments, bool wait, int show) override;
    bool writeFile(const Text& path, std::span<const Bytes> blocks) override;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Text> log_;
    std::vector<Text> captions_;
    std::vector<int> positions_;
    std::vector<bool> busyStates_;
    std::vector<std::vector<Text>> startedPrograms_;
    std::vector<WindowHandle> destroyedWindows_;
};

}  // namespace tamrivo::testing
