#include "net/update_checker.h"

#include <system_error>

#include "net/http_client.h"
#include "net/json_object.h"
#include "update_format/update_format.h"
#include "update_format/version_order.h"

namespace tamrivo {

UpdateChecker::UpdateChecker(Text endpoint, Text runningVersion, Text publicKey, FetchLimits limits)
    : endpoint_(std::move(endpoint)),
      runningVersion_(std::move(runningVersion)),
      publicKey_(std::move(publicKey)),
      limits_(limits) {}

UpdateChecker::~UpdateChecker() {
    std::list<Check> ending;
    {
        const std::lock_guard lock(checksMutex_);
        for (Check& check : checks_) {
            check.thread.request_stop();
        }
        ending.splice(ending.end(), checks_);
    }
    // Each jthread joins as the list goes.
}

void UpdateChecker::check(int owner, UpdateCheckReport report) {
    const std::lock_guard lock(checksMutex_);
    checks_.remove_if([](const Check& check) { return check.finished; });  // joins them
    Check& check = checks_.emplace_back();
    check.owner = owner;
    try {
        check.thread =
            std::jthread([this, &check, report = std::move(report)](std::stop_token stop) {
                run(stop, report);
                const std::lock_guard finishing(checksMutex_);
                check.finished = true;
            });
    } catch (const std::system_error&) {
        checks_.pop_back();  // no thread to be had: this check does not happen
    }
}

void UpdateChecker::stopChecks(int owner) {
    const std::lock_guard lock(checksMutex_);
    for (Check& check : checks_) {
        if (check.owner == owner) {
            check.thread.request_stop();
        }
    }
}

void UpdateChecker::waitForChecks() {
    std::list<Check> running;
    {
        const std::lock_guard lock(checksMutex_);
        running.splice(running.end(), checks_);
    }
    for (Check& check : running) {
        check.thread.join();
    }
}

void UpdateChecker::run(std::stop_token stop, const UpdateCheckReport& report) const {
    if (report.asking) {
        report.asking();
    }
    JsonObject reply;
    if (!fetchReply(stop, reply)) {
        if (!stop.stop_requested()) {
            report.found({}, stop);
        }
        return;
    }
    report.found(resultOf(reply), stop);
}

bool UpdateChecker::fetchReply(std::stop_token stop, JsonObject& reply) const {
    const Bytes body = fetchPage({.url = endpoint_, .limits = limits_}, nullptr, stop);
    return !stop.stop_requested() && reply.parse(Text(body.begin(), body.end()));
}

// The reply's version and notes are what the landlord reads: they must be those the
// publisher signed, as must the package's size and digest.
std::optional<ReleaseStatement> UpdateChecker::statedRelease(JsonObject& reply) const {
    std::optional<ReleaseStatement> statement = verifiedStatement(
        reply.text(kReplyStatement), reply.text(kReplyStatementSignature), publicKey_);
    if (!statement || reply.text("版本") != statement->version ||
        reply.text("更新说明") != statement->notes) {
        return std::nullopt;
    }
    return statement;
}

UpdateCheckResult UpdateChecker::resultOf(JsonObject& reply) const {
    const std::optional<ReleaseStatement> release = statedRelease(reply);
    if (!release) {
        return {.finding = UpdateFinding::NotStated, .package = {}};
    }
    // No going back: an older release, genuine as it may be, is not offered.
    const UpdateFinding finding = versionNewer(release->version, runningVersion_)
                                      ? UpdateFinding::Newer
                                      : UpdateFinding::NothingNewer;
    return {.finding = finding, .package = {reply.text("更新地址"), reply.text("签名"), *release}};
}

}  // namespace tamrivo
