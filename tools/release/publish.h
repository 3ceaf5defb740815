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
    // The apt repository's part, both or neither: the folder of the release's Debian
    // packages and the repository key's folder from keygen.
    std::filesystem::path debianPackages;
    std::filesystem::path archiveKey;
};

struct PublishResult {
    std::string error;  // empty when published
    std::filesystem::path package;
    std::string packageUrl;
};

// Writes into the output folder the release's Debian packages into the apt repository (when
// given), the package of the program folder (tamrivo-VERSION.zip), its signature (the same
// name with .sig) and, last, the reply autoUpdate.php that offers it, so that a server never
// offers a package that is not all there.
PublishResult publish(const PublishRequest& request);

}  // namespace tamrivo::release
