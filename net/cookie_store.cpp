#include "net/cookie_store.h"

#include <array>
#include <mutex>

#include "net/curl_global.h"

namespace tamrivo {
namespace {

std::array<std::mutex, CURL_LOCK_DATA_LAST> shareLocks;

void lockShare(CURL*, curl_lock_data data, curl_lock_access, void*) {
    shareLocks[data].lock();
}

void unlockShare(CURL*, curl_lock_data data, void*) {
    shareLocks[data].unlock();
}

CURLSH* createCookieStore() {
    ensureCurlInitialised();
    CURLSH* share = curl_share_init();
    if (share == nullptr) {
        return nullptr;
    }
    curl_share_setopt(share, CURLSHOPT_LOCKFUNC, lockShare);
    curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, unlockShare);
    curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    return share;
}

}  // namespace

CURLSH* sharedCookieStore() {
    // Lives until the process ends; fetches in other threads may outlast static destruction.
    static CURLSH* const store = createCookieStore();
    return store;
}

}  // namespace tamrivo
