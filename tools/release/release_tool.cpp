#include "tools/release/release_tool.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "base/replacement_file.h"
#include "tools/command_line/command_line.h"
#include "tools/release/apt_repository.h"
#include "tools/release/publish.h"
#include "tools/release/signing_keys.h"

namespace tamrivo::release {

namespace {

namespace fs = std::filesystem;

constexpr char kUsage[] =
    "Usage: tamrivo-release keygen [--force] [--archive-key FOLDER] PRIVATE-KEY PUBLIC-KEY\n"
    "       tamrivo-release publish --key PRIVATE-KEY --version VERSION\n"
    "                               (--notes TEXT | --notes-file FILE)\n"
    "                               --base-url URL --output FOLDER\n"
    "                               [--packages FOLDER --archive-key FOLDER] PROGRAM-FOLDER\n"
    "       tamrivo-release COMMAND --help\n";

constexpr char kKeygenHelp[] =
    "Usage: tamrivo-release keygen [--force] [--archive-key FOLDER] PRIVATE-KEY PUBLIC-KEY\n"
    "Writes a new Ed25519 key pair in PEM. The private key (readable by you alone) signs\n"
    "packages; build the program with -DTAMRIVO_UPDATE_PUBLIC_KEY=PUBLIC-KEY.\n"
    "  --force               replace key files that exist\n"
    "  --archive-key FOLDER  also make the OpenPGP key of the apt repository in FOLDER (new);\n"
    "                        build the package with\n"
    "                        -DTAMRIVO_APT_KEYRING=FOLDER/tamrivo-archive-keyring.gpg\n";

constexpr char kPublishHelp[] =
    "Usage: tamrivo-release publish --key PRIVATE-KEY --version VERSION\n"
    "                               (--notes TEXT | --notes-file FILE)\n"
    "                               --base-url URL --output FOLDER\n"
    "                               [--packages FOLDER --archive-key FOLDER] PROGRAM-FOLDER\n"
    "Packs PROGRAM-FOLDER (all but Data/) into FOLDER/tamrivo-VERSION.zip, signs it\n"
    "(FOLDER/tamrivo-VERSION.zip.sig) and writes FOLDER/autoUpdate.php offering it at\n"
    "URL/tamrivo-VERSION.zip. VERSION must be what PROGRAM-FOLDER/VERSION says. With\n"
    "--packages, first adds the release's Debian packages to the signed apt repository\n"
    "FOLDER/apt (reprepro), one suite per Debian release.\n"
    "  --key FILE         the private key from keygen\n"
    "  --version TEXT     the version the program folder holds\n"
    "  --notes TEXT       the release notes the update window shows (UTF-8)\n"
    "  --notes-file FILE  the release notes, read from a file\n"
    "  --base-url URL     where FOLDER is served, e.g. http://updates.example.com:81\n"
    "  --output FOLDER    where the three files go (created when missing)\n"
    "  --packages FOLDER  holds tamrivo_VERSION~debN_amd64.deb, one per Debian release\n"
    "  --archive-key DIR  the apt repository's key folder from keygen --archive-key\n";

using CommandLine = ParsedArguments;

constexpr std::array kKeygenOptions = {KnownOption{"--force", false},
                                       KnownOption{"--archive-key", true}};
constexpr std::array kPublishOptions = {
    KnownOption{"--key", true},      KnownOption{"--version", true},
    KnownOption{"--notes", true},    KnownOption{"--notes-file", true},
    KnownOption{"--base-url", true}, KnownOption{"--output", true},
    KnownOption{"--packages", true}, KnownOption{"--archive-key", true}};

std::optional<std::string> readText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return std::string{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A key written beside its file, put in place only once every key of the run is made.
struct PendingKey {
    fs::path file;
    mode_t mode;
    ReplacementFile written;
};

// Why a target cannot be written, checked before anything is: an existing key is kept
// unless forced, and a repository key folder is never reused.
std::string targetProblem(const CommandLine& line, std::span<PendingKey> keys, bool force) {
    for (const PendingKey& key : keys) {
        if (!force && nameTaken(key.file)) {
            return key.file.string() + " exists (--force replaces it)";
        }
        std::error_code error;
        const fs::path folder = key.file.parent_path().empty() ? "." : key.file.parent_path();
        if (!fs::is_directory(folder, error)) {
            return "no folder " + folder.string() + " for " + key.file.string();
        }
    }
    if (line.options.contains("--archive-key") && nameTaken(line.options.at("--archive-key"))) {
        return "the key folder " + line.options.at("--archive-key") +
               " exists (keygen never reuses one)";
    }
    return {};
}

std::string writeBeside(PendingKey& key, const std::string& pem) {
    std::error_code error = key.written.create(key.file, key.mode);
    if (!error) {
        error = key.written.write({reinterpret_cast<const std::uint8_t*>(pem.data()), pem.size()});
    }
    return error ? "cannot write beside " + key.file.string() + ": " + error.message()
                 : std::string();
}

// Puts every key in place: unforced, only where nothing appeared meanwhile, taking back
// what this run put in when a later one cannot go.
std::string putInPlace(std::span<PendingKey> keys, bool force) {
    const auto target =
        force ? ReplacementFile::Target::Replace : ReplacementFile::Target::MustBeNew;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (const std::error_code error = keys[i].written.commit(target)) {
            for (std::size_t done = 0; done < i && !force; ++done) {
                ::unlink(keys[done].file.c_str());
            }
            return "cannot write " + keys[i].file.string() + ": " + error.message();
        }
    }
    return {};
}

std::string makeKeys(const CommandLine& line, std::span<PendingKey> keys, bool force) {
    if (std::string problem = targetProblem(line, keys, force); !problem.empty()) {
        return problem;
    }
    const std::optional<KeyPair> pair = generateKeyPair();
    if (!pair) {
        return "cannot make a key pair";
    }
    const std::array pems = {&pair->privatePem, &pair->publicPem};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (std::string problem = writeBeside(keys[i], *pems[i]); !problem.empty()) {
            return problem;
        }
    }
    // The repository's key is made into a new folder first: should it fail, the vendor's
    // old pair is still in place.
    if (line.options.contains("--archive-key")) {
        if (std::string problem = makeArchiveKey(line.options.at("--archive-key"));
            !problem.empty()) {
            return problem;
        }
    }
    return putInPlace(keys, force);
}

int keygen(const CommandLine& line, std::ostream& out, std::ostream& errors) {
    if (line.operands.size() != 2) {
        errors << "tamrivo-release keygen: give the private and the public key file\n"
               << kKeygenHelp;
        return kReleaseUsage;
    }
    const bool force = line.options.contains("--force");
    std::array<PendingKey, 2> keys = {PendingKey{line.operands[0], 0600, {}},
                                      PendingKey{line.operands[1], 0644, {}}};
    if (const std::string problem = makeKeys(line, keys, force); !problem.empty()) {
        errors << "tamrivo-release keygen: " << problem << "\n";
        return kReleaseFailed;
    }
    out << "private key: " << keys[0].file.string() << " (keep it secret)\n"
        << "public key:  " << keys[1].file.string()
        << " (build with -DTAMRIVO_UPDATE_PUBLIC_KEY=" << keys[1].file.string() << ")\n";
    if (line.options.contains("--archive-key")) {
        const fs::path folder = line.options.at("--archive-key");
        out << "apt key:     " << folder.string() << " (keep it secret; build the package with "
            << "-DTAMRIVO_APT_KEYRING=" << (folder / kArchiveKeyringName).string() << ")\n";
    }
    return kReleaseDone;
}

// The request from the command line; nothing, with the reason, when it is incomplete.
std::optional<PublishRequest> publishRequest(const CommandLine& line, std::string& problem) {
    for (const char* required : {"--key", "--version", "--base-url", "--output"}) {
        if (!line.options.contains(required)) {
            problem = std::string("missing ") + required;
            return std::nullopt;
        }
    }
    if (line.options.contains("--notes") == line.options.contains("--notes-file")) {
        problem = "give the release notes with --notes or --notes-file, once";
        return std::nullopt;
    }
    if (line.operands.size() != 1) {
        problem = "give one program folder";
        return std::nullopt;
    }
    PublishRequest request;
    request.programFolder = line.operands[0];
    request.version = line.options.at("--version");
    request.baseUrl = line.options.at("--base-url");
    request.output = line.options.at("--output");
    if (line.options.contains("--packages")) {
        request.debianPackages = line.options.at("--packages");
    }
    if (line.options.contains("--archive-key")) {
        request.archiveKey = line.options.at("--archive-key");
    }
    return request;
}

int publishCommand(const CommandLine& line, std::ostream& out, std::ostream& errors) {
    std::string problem;
    std::optional<PublishRequest> request = publishRequest(line, problem);
    if (!request) {
        errors << "tamrivo-release publish: " << problem << "\n" << kPublishHelp;
        return kReleaseUsage;
    }
    const std::optional<std::string> key = readText(line.options.at("--key"));
    const std::optional<std::string> notes = line.options.contains("--notes")
                                                 ? line.options.at("--notes")
                                                 : readText(line.options.at("--notes-file"));
    if (!key || !notes) {
        errors << "tamrivo-release publish: cannot read "
               << (key ? line.options.at("--notes-file") : line.options.at("--key")) << "\n";
        return kReleaseFailed;
    }
    request->privateKeyPem = *key;
    request->notes = *notes;
    const PublishResult result = publish(*request);
    if (!result.error.empty()) {
        errors << "tamrivo-release publish: " << result.error << "\n";
        return kReleaseFailed;
    }
    out << "package: " << result.package.string() << "\n"
        << "offered: " << result.packageUrl << "\n";
    if (!request->debianPackages.empty()) {
        out << "apt:     " << (request->output / "apt").string() << "\n";
    }
    return kReleaseDone;
}

}  // namespace

int runReleaseTool(std::span<const std::string> arguments, std::ostream& out,
                   std::ostream& errors) {
    if (arguments.empty() || arguments[0] == "--help") {
        (arguments.empty() ? errors : out) << kUsage;
        return arguments.empty() ? kReleaseUsage : kReleaseDone;
    }
    const std::string& command = arguments[0];
    const bool isKeygen = command == "keygen";
    if (!isKeygen && command != "publish") {
        errors << "tamrivo-release: unknown command " << command << "\n" << kUsage;
        return kReleaseUsage;
    }
    std::vector<std::string_view> words(arguments.begin() + 1, arguments.end());
    const CommandLine line = parseArguments(
        words, isKeygen ? std::span<const KnownOption>(kKeygenOptions) : kPublishOptions);
    if (!line.error.empty()) {
        errors << "tamrivo-release " << command << ": " << line.error << "\n"
               << (isKeygen ? kKeygenHelp : kPublishHelp);
        return kReleaseUsage;
    }
    if (line.help) {
        out << (isKeygen ? kKeygenHelp : kPublishHelp);
        return kReleaseDone;
    }
    return isKeygen ? keygen(line, out, errors) : publishCommand(line, out, errors);
}

}  // namespace tamrivo::release
