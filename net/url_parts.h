#pragma once

#include "base/value_types.h"

namespace tamrivo {

// The pieces of an absolute URL ("http://" or "https://", or no scheme at all) that a
// request needs. The scheme is recognised only at the start of the URL, so a query that
// carries another URL does not move the host or the port.

// True when the URL starts with "https://" (any case).
bool isSecureUrl(const Text& url);

// The host in lower case; with withPort, followed by ":" and the port when the URL has one.
Text urlHost(const Text& url, bool withPort = false);

// The port written in the URL (a text that is not a number gives 0), else 443 for https
// and 80 otherwise.
int urlPort(const Text& url);

// The path and query in the URL's own case; "/" when there is none.
Text urlPath(const Text& url);

}  // namespace tamrivo
