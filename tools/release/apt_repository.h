#pragma once

#include <filesystem>
#include <string>

namespace tamrivo::release {

// The public key of the apt repository, as keygen exports it into the key's folder and as
// publish puts it beside the repository for landlords to fetch.
inline constexpr char kArchiveKeyringName[] = "tamrivo-archive-keyring.gpg";

// Makes the OpenPGP key (Ed25519, which Debian's apt accepts through gpgv and sqv alike) that
// signs the apt repository, in `folder`, a new GnuPG home of the publisher's alone, and
// exports its public half as folder/kArchiveKeyringName. What went wrong, or nothing.
std::string makeArchiveKey(const std::filesystem::path& folder);

// Adds the packages of the version in `packages` (tamrivo_VERSION~debN_amd64.deb, one per
// Debian release) to the apt repository in output/apt, one suite per release, its index
// signed with the key in `archiveKey`, and puts the key's public half beside it. The
// repository's book-keeping stays in output/.apt, which the site does not serve. What went
// wrong, or nothing.
std::string publishToAptRepository(const std::filesystem::path& packages,
                                   const std::filesystem::path& archiveKey,
                                   const std::string& version, const std::filesystem::path& output);

}  // namespace tamrivo::release
