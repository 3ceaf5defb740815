#include "net/update_checker.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "tests/support/loopback_server.h"
#include "tests/support/raw_http_listener.h"
#include "tests/support/test_keys.h"

namespace tamrivo {
namespace {

constexpr char kRunning[] = "1.0.0.0";
constexpr char kPackageAddress[] = "http://example.invalid/up.zip";

testing::OfferedRelease release(const Text& version) {
    return {version, "说明", kPackageAddress, "PK the package"};
}

// What the checks told, in order, from their threads.
class Findings {
public:
    UpdateCheckReport report() {
        return {.asking = [this] { note("asking", {}); },
                .found = [this](const UpdateCheckResult& result,
                                std::stop_token) { note("found", result); }};
    }
    std::vector<std::string> steps() {
        const std::lock_guard lock(mutex_);
        return steps_;
    }
    UpdateCheckResult last() {
        const std::lock_guard lock(mutex_);
        return last_;
    }

private:
    void note(const std::string& step, const UpdateCheckResult& result) {
        const std::lock_guard lock(mutex_);
        steps_.push_back(step);
        last_ = result;
    }

    std::mutex mutex_;
    std::vector<std::string> steps_;
    UpdateCheckResult last_;
};

// The findings of one check against a server answering with the body.
UpdateCheckResult checkAgainst(const std::string& body) {
    testing::LoopbackServer server;
    server.routes().Get("/autoUpdate.php",
                        [body](const httplib::Request&, httplib::Response& response) {
                            response.set_content(body, "application/json");
                        });
    server.start();
    Findings findings;
    UpdateChecker checker(server.url("/autoUpdate.php"), kRunning,
                          testing::publisherKeys().publicPem);
    checker.check(1, findings.report());
    checker.waitForChecks();
    EXPECT_EQ(findings.steps(), (std::vector<std::string>{"asking", "found"})) << body;
    return findings.last();
}

// Only what the publisher signed is believed, and only a newer release is one to offer;
// whatever the reply, the package goes with the finding only when the publisher stated it.
TEST(UpdateCheckFindings, FollowThePublishersStatementAndTheVersionOrder) {
    const UpdateCheckResult newer = checkAgainst(testing::signedReply(release("1.0.0.1")));
    EXPECT_EQ(newer.finding, UpdateFinding::Newer);
    EXPECT_EQ(newer.package.url, kPackageAddress);
    EXPECT_EQ(newer.package.statement.version, "1.0.0.1");
    EXPECT_EQ(newer.package.signature, testing::signatureOf("PK the package"));

    EXPECT_EQ(checkAgainst(testing::signedReply(release(kRunning))).finding,
              UpdateFinding::NothingNewer);
    EXPECT_EQ(checkAgainst(testing::signedReply(release("0.9"))).finding,
              UpdateFinding::NothingNewer);

    const UpdateCheckResult stranger =
        checkAgainst(testing::signedReply(release("2.0"), testing::strangerKeys()));
    EXPECT_EQ(stranger.finding, UpdateFinding::NotStated);
    EXPECT_EQ(stranger.package.url, "");
    EXPECT_EQ(checkAgainst(R"({"版本":"2.0","更新地址":"http://x/"})").finding,
              UpdateFinding::NotStated);

    EXPECT_EQ(checkAgainst("<html>busy</html>").finding, UpdateFinding::NoAnswer);
    EXPECT_EQ(checkAgainst("").finding, UpdateFinding::NoAnswer);
}

// Stopped while it waits on a silent server, a check ends at once and finds nothing.
TEST(UpdateCheckFindings, AStoppedCheckTellsNothingAfterItsRequest) {
    testing::RawHttpListener silent;
    Findings findings;
    UpdateChecker checker(silent.url("/autoUpdate.php"), kRunning,
                          testing::publisherKeys().publicPem);
    checker.check(1, findings.report());
    ASSERT_EQ(silent.waitForRequests(1).size(), 1u);
    checker.stopChecks(1);
    checker.waitForChecks();
    EXPECT_EQ(findings.steps(), std::vector<std::string>{"asking"});
    EXPECT_TRUE(silent.waitForHangUps(1));
}

}  // namespace
}  // namespace tamrivo
