#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "base/value_types.h"

namespace tamrivo {

// The name the publisher gives this program's releases.
inline constexpr char kSoftwareName[] = "Tamrivo";

// What the publisher signs of one release, so that neither the version and notes the
// landlord reads nor the package can be swapped for those of another (an older) release.
// Texts in GBK.
struct ReleaseStatement {
    Text name;
    Text version;
    Text notes;
    std::uint64_t size = 0;  // of the package, in bytes
    Text sha256;             // of the package, lower-case hexadecimal
};

// The statement as it is signed and carried: a first line naming the format, then
// "name=", "version=", "size=" and "sha256=" lines, then "notes=" and the notes to the end.
// Nothing when the name or the version holds a line break, or the version is no version.
std::optional<Text> statementText(const ReleaseStatement& statement);
// The statement a text is; nothing when it is not exactly of that form.
std::optional<ReleaseStatement> parseStatement(const Text& text);

// The statement of this program's release that the text is, when signatureHex is its
// signature by the holder of publicKeyPem; nothing otherwise.
std::optional<ReleaseStatement> verifiedStatement(const Text& text, const Text& signatureHex,
                                                  const Text& publicKeyPem);

// True when the package is the one the statement describes: its size and its digest.
bool packageMatches(std::span<const std::uint8_t> package, const ReleaseStatement& statement);

}  // namespace tamrivo
