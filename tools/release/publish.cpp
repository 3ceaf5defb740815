#include "tools/release/publish.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "base/replacement_file.h"
#include "base/text_encoding.h"
#include "tools/release/apt_repository.h"
#include "tools/release/fixed_umask.h"
#include "tools/release/package_writer.h"
#include "tools/release/reply_document.h"
#include "tools/release/signing_keys.h"
#include "update_format/package_signature.h"
#include "update_format/release_statement.h"
#include "update_format/update_format.h"
#include "update_format/version_order.h"

namespace tamrivo::release {

namespace {

namespace fs = std::filesystem;

// Nothing when the address is no http:// or https:// URL; else the address without the
// slashes it may end in.
std::optional<std::string> baseAddress(std::string url) {
    const bool http = url.starts_with("http://") || url.starts_with("https://");
    const bool plain = std::all_of(url.begin(), url.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte > 0x20 && byte < 0x7F && c != '"' && c != '\\';
    });
    while (url.ends_with('/')) {
        url.pop_back();
    }
    if (!http || !plain || url.ends_with(':')) {
        return std::nullopt;
    }
    return url;
}

bool inside(const fs::path& path, const fs::path& folder) {
    std::error_code error;
    const fs::path a = fs::weakly_canonical(path, error);
    const fs::path b = fs::weakly_canonical(folder, error);
    const auto [end, unused] = std::mismatch(b.begin(), b.end(), a.begin(), a.end());
    return end == b.end();
}

// Replaces the file in one step, readable by the web server.
bool writeReplacing(const fs::path& path, std::string_view content) {
    return !writeWholeFile(
        path, {reinterpret_cast<const std::uint8_t*>(content.data()), content.size()}, 0644);
}

std::string checkRequest(const PublishRequest& request) {
    if (!versionWellFormed(request.version)) {
        return "the version must be numbers between dots (1.0.0.1), at most " +
               std::to_string(kLongestVersion) +
               " characters, so that the program can tell it "
               "is newer: " +
               request.version;
    }
    if (!baseAddress(request.baseUrl)) {
        return "the base URL must be an http:// or https:// address: " + request.baseUrl;
    }
    std::error_code error;
    if (!fs::is_directory(request.programFolder, error)) {
        return "no program folder " + request.programFolder.string();
    }
    const std::string found = readVersion(request.programFolder);
    if (found != request.version) {
        return "the program folder is version \"" + found + "\" (its VERSION file), not \"" +
               request.version + "\"";
    }
    if (inside(request.output, request.programFolder)) {
        return "the output folder must not be inside the program folder";
    }
    if (request.debianPackages.empty() != request.archiveKey.empty()) {
        return "the apt repository needs both the Debian packages and the repository key";
    }
    return {};
}

// What the release is signed as: the package's signature, and the statement of the version
// and notes with the package's size and digest, with its signature.
struct Signatures {
    Bytes package;
    Text statement;
    Bytes statementSignature;
};

// Signs the packed file and its statement, and makes sure the program, holding the public
// half, would take them.
std::optional<Signatures> signRelease(const PublishRequest& request, const fs::path& package,
                                      std::string& error) {
    const std::optional<Bytes> content =
        readWholeFile(package, static_cast<std::uint64_t>(kMaxPackageBytes));
    const std::optional<std::string> publicPem = publicKeyOf(request.privateKeyPem);
    if (!content) {
        error = "cannot read " + package.string() + ", or it is larger than the program takes (" +
                std::to_string(kMaxPackageBytes >> 20) + " MiB)";
        return std::nullopt;
    }
    const Text notes = utf8ToGbk(request.notes);
    const std::optional<Text> statement = statementText(
        {kSoftwareName, request.version, notes, content->size(), sha256Hex(*content)});
    if (!statement || (notes.empty() && !request.notes.empty())) {
        error = "the release notes hold characters GBK cannot write";
        return std::nullopt;
    }
    const auto* statementBytes = reinterpret_cast<const std::uint8_t*>(statement->data());
    std::optional<Bytes> packageSignature = sign(*content, request.privateKeyPem);
    std::optional<Bytes> statementSignature =
        sign({statementBytes, statement->size()}, request.privateKeyPem);
    if (!publicPem || !packageSignature || !statementSignature ||
        !signatureValid(*content, *packageSignature, *publicPem) ||
        !verifiedStatement(*statement, signatureToHex(*statementSignature), *publicPem)) {
        error = "the key is no Ed25519 private key in PEM";
        return std::nullopt;
    }
    return Signatures{std::move(*packageSignature), *statement, std::move(*statementSignature)};
}

// Landlords may have installed a version already published: it keeps its files, and only
// the very same package may be published under its name again.
std::string publishedOtherwise(const fs::path& published, const fs::path& packed) {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(published, error))) {
        return {};
    }
    const auto limit = static_cast<std::uint64_t>(kMaxPackageBytes);
    const std::optional<Bytes> before = readWholeFile(published, limit);
    if (before && before == readWholeFile(packed, limit)) {
        return {};
    }
    return published.string() +
           " is published already with other files; a version once published keeps its "
           "contents: give the program a new version";
}

// The package, its signature and, last, the reply; what went wrong, or nothing.
std::string writeRelease(const PublishRequest& request, const fs::path& partial,
                         const PublishResult& result) {
    if (std::string problem = writePackage(request.programFolder, partial); !problem.empty()) {
        return problem;
    }
    std::string problem = publishedOtherwise(result.package, partial);
    if (!problem.empty()) {
        return problem;
    }
    const std::optional<Signatures> signatures = signRelease(request, partial, problem);
    if (!signatures) {
        return problem;
    }
    const std::optional<Text> reply = replyDocument(
        {request.version, request.notes, result.packageUrl, signatureToHex(signatures->package),
         gbkToUtf8(signatures->statement), signatureToHex(signatures->statementSignature)});
    if (!reply) {
        return "the release notes hold characters GBK cannot write";
    }
    const Bytes& signature = signatures->package;
    if (::chmod(partial.c_str(), 0644) != 0 ||
        ::rename(partial.c_str(), result.package.c_str()) != 0 ||
        !writeReplacing(result.package.string() + ".sig",
                        std::string(signature.begin(), signature.end())) ||
        !writeReplacing(request.output / "autoUpdate.php", *reply)) {
        return "cannot write into " + request.output.string();
    }
    return {};
}

}  // namespace

PublishResult publish(const PublishRequest& request) {
    const FixedUmask modes;
    PublishResult result;
    result.error = checkRequest(request);
    if (!result.error.empty()) {
        return result;
    }
    const std::string name = "tamrivo-" + request.version + ".zip";
    result.package = request.output / name;
    result.packageUrl = *baseAddress(request.baseUrl) + "/" + name;
    std::error_code error;
    fs::create_directories(request.output, error);
    if (error) {
        result.error = "cannot create " + request.output.string() + ": " + error.message();
        return result;
    }
    if (!request.debianPackages.empty()) {
        result.error = publishToAptRepository(request.debianPackages, request.archiveKey,
                                              request.version, request.output);
        if (!result.error.empty()) {
            return result;
        }
    }
    const fs::path partial = request.output / (name + ".partial");
    result.error = writeRelease(request, partial, result);
    fs::remove(partial, error);  // already gone, unless something failed
    return result;
}

}  // namespace tamrivo::release
