#include "tools/release/apt_repository.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "base/replacement_file.h"
#include "tools/command_line/child_process.h"
#include "tools/release/fixed_umask.h"
#include "update_format/package_signature.h"

namespace tamrivo::release {

namespace {

namespace fs = std::filesystem;

// The Debian releases served, by the number in a package's version and their suite.
constexpr std::array<std::pair<std::string_view, std::string_view>, 2> kReleases = {{
    {"12", "bookworm"},
    {"13", "trixie"},
}};
constexpr std::uint64_t kLargestKeyring = 1 << 20;
constexpr std::uint64_t kLargestIndex = std::uint64_t{1} << 30;

std::optional<std::string_view> suiteOf(std::string_view releaseNumber) {
    for (const auto& [number, suite] : kReleases) {
        if (number == releaseNumber) {
            return suite;
        }
    }
    return std::nullopt;
}

std::string distributions() {
    std::string text;
    for (const auto& [number, suite] : kReleases) {
        text += "Origin: Tamrivo\nLabel: Tamrivo\nCodename: " + std::string(suite) +
                "\nArchitectures: amd64\nComponents: main\nDescription: Tamrivo for Debian " +
                std::string(number) + "\nSignWith: yes\n\n";
    }
    return text;
}

bool run(const std::vector<std::string>& command) {
    return runAndWait(command) == 0;
}

// gpg leaves an agent behind for the home it worked in.
void endAgent(const fs::path& home) {
    run({"gpgconf", "--homedir", home.string(), "--kill", "gpg-agent"});
}

struct Package {
    fs::path file;
    std::string suite;
};

// The release's packages in the folder; what is wrong with them in `problem`.
std::vector<Package> releasePackages(const fs::path& folder, const std::string& version,
                                     std::string& problem) {
    const std::string prefix = "tamrivo_" + version + "~deb";
    const std::string suffix = "_amd64.deb";
    std::vector<Package> packages;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix) || !name.ends_with(suffix) ||
            name.size() <= prefix.size() + suffix.size()) {
            continue;
        }
        const std::string_view number = std::string_view(name).substr(
            prefix.size(), name.size() - prefix.size() - suffix.size());
        const std::optional<std::string_view> suite = suiteOf(number);
        if (!suite || !entry.is_regular_file(error) || entry.is_symlink(error)) {
            problem = "not a package of a Debian release served (12 or 13): " + name;
            return {};
        }
        packages.push_back({entry.path(), std::string(*suite)});
    }
    if (error) {
        problem = "cannot read " + folder.string() + ": " + error.message();
    } else if (packages.empty()) {
        problem = "no package of " + version + " (tamrivo_" + version + "~debN_amd64.deb) in " +
                  folder.string();
    }
    return packages;
}

// reprepro skips a package whose version its suite already holds, whatever the contents:
// only the suite's index tells whether these very bytes are what apt will fetch.
bool listed(const Package& package, const fs::path& served) {
    const std::optional<Bytes> deb = readWholeFile(package.file, kLargestIndex);
    const std::optional<Bytes> index = readWholeFile(
        served / "dists" / package.suite / "main" / "binary-amd64" / "Packages", kLargestIndex);
    if (!deb || !index) {
        return false;
    }
    const std::string line = "SHA256: " + sha256Hex(*deb) + "\n";
    return std::string_view(reinterpret_cast<const char*>(index->data()), index->size())
               .find(line) != std::string_view::npos;
}

bool writeText(const fs::path& path, std::string_view text, mode_t mode = 0644) {
    return !writeWholeFile(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()},
                           mode);
}

}  // namespace

std::string makeArchiveKey(const fs::path& folder) {
    const FixedUmask modes;
    if (::mkdir(folder.c_str(), 0700) != 0) {
        return "cannot make the key folder " + folder.string() + ": " + std::strerror(errno) +
               (errno == EEXIST ? " (keygen never reuses one)" : "");
    }
    const std::string home = folder.string();
    const bool made = run({"gpg", "--batch", "--quiet", "--homedir", home, "--pinentry-mode",
                           "loopback", "--passphrase", "", "--quick-generate-key",
                           "Tamrivo apt repository", "ed25519", "sign", "never"}) &&
                      run({"gpg", "--batch", "--quiet", "--homedir", home, "--output",
                           (folder / kArchiveKeyringName).string(), "--export"});
    endAgent(folder);
    return made ? std::string() : "gpg could not make the repository's key in " + home;
}

std::string publishToAptRepository(const fs::path& packages, const fs::path& archiveKey,
                                   const std::string& version, const fs::path& output) {
    const FixedUmask modes;
    std::string problem;
    const std::vector<Package> found = releasePackages(packages, version, problem);
    const std::optional<Bytes> keyring =
        readWholeFile(archiveKey / kArchiveKeyringName, kLargestKeyring);
    if (!problem.empty()) {
        return problem;
    }
    if (!keyring) {
        return "no repository key in " + archiveKey.string() + " (keygen --archive-key makes it)";
    }
    const fs::path books = fs::absolute(output / ".apt");
    const fs::path served = fs::absolute(output / "apt");
    std::error_code error;
    fs::create_directories(books / "conf", error);
    fs::create_directories(served, error);
    if (error || !writeText(books / "conf" / "distributions", distributions())) {
        return "cannot write the repository's settings into " + books.string();
    }
    bool added = true;
    for (const Package& package : found) {
        added = added &&
                run({"reprepro", "--silent", "--gnupghome", archiveKey.string(), "-b",
                     books.string(), "--outdir", served.string(), "includedeb", package.suite,
                     package.file.string()}) &&
                listed(package, served);
    }
    endAgent(archiveKey);
    if (!added) {
        return "reprepro could not add the packages to " + served.string() +
               " (reprepro says why above; a version once published keeps its contents)";
    }
    if (writeWholeFile(served / kArchiveKeyringName, *keyring, 0644)) {
        return "cannot write " + (served / kArchiveKeyringName).string();
    }
    return {};
}

}  // namespace tamrivo::release
