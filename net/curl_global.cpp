#include "net/curl_global.h"

#include <curl/curl.h>

namespace tamrivo {

void ensureCurlInitialised() {
    // A function-local static is initialised once even under concurrent first calls.
    // libcurl is never cleaned up: threads of other objects may still be ending at exit.
    [[maybe_unused]] static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
}

}  // namespace tamrivo
