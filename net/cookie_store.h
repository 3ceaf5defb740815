#pragma once

#include <curl/curl.h>

namespace tamrivo {

// The process-wide cookie store: every page fetch attaches this share handle, so a cookie
// that one response sets for a host goes back with every later request to that host, from
// any thread.
CURLSH* sharedCookieStore();

}  // namespace tamrivo
