#pragma once

#include <string_view>

namespace tamrivo {

// Watches the header lines libcurl hands over and tells when the final response's headers
// are complete: interim responses (1xx) and redirects that libcurl follows come before it.
class FinalResponseDetector {
public:
    // One header line with its line end; true at the blank line that ends the final
    // response's headers.
    bool feed(std::string_view line);

private:
    int status_ = 0;
    bool hasLocation_ = false;
};

}  // namespace tamrivo
