// A 200 MB download over loopback, through the Downloader and through the curl command line
// fetching the same file from the same server. Compare MB/s (higher is better) and
// cpu_ms_per_MB (lower is better) of the two: the Downloader's CPU time is that of its worker
// thread, curl's that of its whole process.

#include <benchmark/benchmark.h>
#include <httplib.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/downloader.h"

namespace tamrivo {
namespace {

constexpr std::size_t kDownloadBytes = 200U << 20;
constexpr double kDownloadMegabytes = static_cast<double>(kDownloadBytes) / (1 << 20);

double secondsOf(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// User and system time together.
double cpuSecondsOf(const rusage& usage) {
    return secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime);
}

double threadCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_THREAD, &usage);
    return cpuSecondsOf(usage);
}

// Serves kDownloadBytes at /package from a repeated megabyte, so the server costs little.
class PackageServer {
public:
    PackageServer() : block_(1 << 20, 'u') {
        server_.Get("/package", [this](const httplib::Request&, httplib::Response& response) {
            response.set_content_provider(
                kDownloadBytes, "application/octet-stream",
                [this](std::size_t, std::size_t length, httplib::DataSink& sink) {
                    return sink.write(block_.data(), std::min(length, block_.size()));
                });
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (port_ > 0 && !server_.is_running()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    ~PackageServer() {
        server_.stop();
        thread_.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/package"; }

private:
    std::vector<char> block_;
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

std::filesystem::path target() {
    return std::filesystem::temp_directory_path() / "tamrivo-bench.bin";
}

void report(benchmark::State& state, double cpuSeconds) {
    state.counters["MB/s"] = benchmark::Counter(
        kDownloadMegabytes * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["cpu_ms_per_MB"] =
        cpuSeconds * 1000.0 / (kDownloadMegabytes * static_cast<double>(state.iterations()));
}

void downloaderFetch(benchmark::State& state) {
    PackageServer server;
    Downloader downloader;
    std::mutex mutex;
    std::condition_variable finished;
    double workerCpu = 0.0;
    bool done = false;
    DownloadParams params;
    params.url = server.url();
    params.filePath = target().string();
    params.callback = [&](std::int32_t, ProgressEvent event, const DownloadState&) {
        if (event == ProgressEvent::Finished) {
            std::lock_guard lock(mutex);
            workerCpu += threadCpuSeconds();
            done = true;
            finished.notify_all();
        }
    };
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        done = false;
        downloader.start(params, true);
        std::unique_lock lock(mutex);
        finished.wait(lock, [&] { return done; });
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
        if (downloader.getState().receivedBytes != static_cast<std::int64_t>(kDownloadBytes)) {
            state.SkipWithError("incomplete download");
        }
    }
    report(state, workerCpu);
    std::filesystem::remove(target());
}

void curlFetch(benchmark::State& state) {
    PackageServer server;
    std::string url = server.url();
    std::string output = target().string();
    std::string program = "curl";
    std::string silent = "-s";
    std::string outputFlag = "-o";
    char* arguments[] = {program.data(), silent.data(), outputFlag.data(),
                         output.data(),  url.data(),    nullptr};
    double cpu = 0.0;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        pid_t process = 0;
        if (::posix_spawnp(&process, "curl", nullptr, nullptr, arguments, environ) != 0) {
            state.SkipWithError("curl cannot be started");
            break;
        }
        int status = 0;
        rusage usage{};
        ::wait4(process, &status, 0, &usage);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
        cpu += cpuSecondsOf(usage);
        if (std::filesystem::file_size(target()) != kDownloadBytes) {
            state.SkipWithError("incomplete download");
        }
    }
    report(state, cpu);
    std::filesystem::remove(target());
}

BENCHMARK(downloaderFetch)
    ->Name("Downloader/200MB")
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(curlFetch)
    ->Name("CurlCommand/200MB")
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tamrivo

BENCHMARK_MAIN();
