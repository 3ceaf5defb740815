#pragma once

#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

#include "base/value_types.h"
#include "net/http_transfer.h"
#include "net/update_package.h"

namespace tamrivo {

class JsonObject;

// What a check of the update server came to.
enum class UpdateFinding {
    NoAnswer,      // no usable reply: no server, no JSON, more than a page fetch takes in
    NotStated,     // a reply the publisher's signed statement does not bear out
    NothingNewer,  // the running release, or an older one
    Newer,         // a newer release the publisher stated
};

struct UpdateCheckResult {
    UpdateFinding finding = UpdateFinding::NoAnswer;
    // Unless NoAnswer: the package the reply offers, empty when the publisher does not
    // stand by it.
    UpdatePackage package;
};

// What a check tells, on its own thread: that its request goes out (when asked to), then
// what it found, unless its checks were stopped before the reply was in. The stop token
// says when they are stopped afterwards.
struct UpdateCheckReport {
    std::function<void()> asking;
    std::function<void(const UpdateCheckResult& result, std::stop_token stop)> found;
};

// Asks the update server whether a release newer than the running one exists, each check
// in a background thread of its own. Only a release the publisher's signed statement
// names is believed: its version, its notes and its package. It shows nothing: whoever
// starts a check shows what it reports.
//
// The checker owns its threads. Destroying it ends every running check promptly, its fetch
// aborted, and waits for them; the reports' targets must outlive it.
class UpdateChecker {
public:
    // publicKey: the publisher's Ed25519 public key (PEM) the statements are checked with.
    UpdateChecker(Text endpoint, Text runningVersion, Text publicKey, FetchLimits limits = {});
    ~UpdateChecker();
    UpdateChecker(const UpdateChecker&) = delete;
    UpdateChecker& operator=(const UpdateChecker&) = delete;

    // Starts a check for owner (the window it reports into, say), by which stopChecks finds
    // it. Without a thread to be had, the check does not happen.
    void check(int owner, UpdateCheckReport report);

    // Asks the owner's checks to end (it is going). Does not wait, so it may be called from
    // any thread, a check's own included.
    void stopChecks(int owner);

    // Waits until every running check has ended by itself.
    void waitForChecks();

    const Text& runningVersion() const { return runningVersion_; }

private:
    struct Check {
        int owner = 0;
        std::jthread thread;
        bool finished = false;  // guarded by checksMutex_
    };

    void run(std::stop_token stop, const UpdateCheckReport& report) const;
    bool fetchReply(std::stop_token stop, JsonObject& reply) const;
    std::optional<ReleaseStatement> statedRelease(JsonObject& reply) const;
    UpdateCheckResult resultOf(JsonObject& reply) const;

    const Text endpoint_;
    const Text runningVersion_;
    const Text publicKey_;
    const FetchLimits limits_;

    std::mutex checksMutex_;
    std::list<Check> checks_;
};

}  // namespace tamrivo
