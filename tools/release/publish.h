#pragma once

#include <filesystem>
#include <string>

namespace tamrivo::release {

struct PublishRequest {
    std::filesystem::path programFolder;
    std::string version;  // must be what the folder's VERSION file says
    std::string notes;    // UTF-8
    std::string baseUrl;  // where the output folder is served, http:// or https://
    std::filesystem::path output;
    std::string privateKeyPem;
};

struct PublishResult {
    std::string error;  // empty when published
    std::filesystem::path package;
    std::string packageUrl;
};

// Writes into the output folder the package of the program folder (tamrivo-VERSION.zip), its
// signature (the same name with .sig) and, last, the reply autoUpdate.php that offers it, so
// that a server never offers a package that is not all there.
PublishResult publish(const PublishRequest& request);

}  // namespace tamrivo::release
