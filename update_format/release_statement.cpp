#include "update_format/release_statement.h"

#include <algorithm>
#include <charconv>

#include "update_format/package_signature.h"
#include "update_format/update_format.h"
#include "update_format/version_order.h"

namespace tamrivo {
namespace {

constexpr char kFormatLine[] = "Tamrivo release statement 1\n";
constexpr std::size_t kSha256HexLength = 64;

// Takes the line "key=value\n" from the front of text; nothing when it is not there.
std::optional<Text> takeLine(std::string_view& text, std::string_view key) {
    if (!text.starts_with(key) || text.substr(key.size()).empty() || text[key.size()] != '=') {
        return std::nullopt;
    }
    text.remove_prefix(key.size() + 1);
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    Text value(text.substr(0, end));
    text.remove_prefix(end + 1);
    return value;
}

std::optional<std::uint64_t> number(const Text& text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool lowerHex(const Text& text) {
    return text.size() == kSha256HexLength && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

bool oneLine(const Text& text) {
    return text.find('\n') == Text::npos && text.find('\r') == Text::npos;
}

}  // namespace

std::optional<Text> statementText(const ReleaseStatement& statement) {
    if (!oneLine(statement.name) || !versionWellFormed(statement.version) ||
        !lowerHex(statement.sha256)) {
        return std::nullopt;
    }
    return kFormatLine + Text("name=") + statement.name + "\nversion=" + statement.version +
           "\nsize=" + std::to_string(statement.size) + "\nsha256=" + statement.sha256 +
           "\nnotes=" + statement.notes;
}

std::optional<ReleaseStatement> parseStatement(const Text& text) {
    std::string_view rest(text);
    if (!rest.starts_with(kFormatLine)) {
        return std::nullopt;
    }
    rest.remove_prefix(std::string_view(kFormatLine).size());
    ReleaseStatement statement;
    const std::optional<Text> name = takeLine(rest, "name");
    const std::optional<Text> version = name ? takeLine(rest, "version") : std::nullopt;
    const std::optional<Text> size = version ? takeLine(rest, "size") : std::nullopt;
    const std::optional<Text> sha256 = size ? takeLine(rest, "sha256") : std::nullopt;
    const std::optional<std::uint64_t> bytes = size ? number(*size) : std::nullopt;
    if (!sha256 || !bytes || !rest.starts_with("notes=") || !versionWellFormed(*version) ||
        !lowerHex(*sha256)) {
        return std::nullopt;
    }
    rest.remove_prefix(std::string_view("notes=").size());
    return ReleaseStatement{*name, *version, Text(rest), *bytes, *sha256};
}

std::optional<ReleaseStatement> verifiedStatement(const Text& text, const Text& signatureHex,
                                                  const Text& publicKeyPem) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (!signatureValid({bytes, text.size()}, signatureFromHex(signatureHex), publicKeyPem)) {
        return std::nullopt;
    }
    std::optional<ReleaseStatement> statement = parseStatement(text);
    if (!statement || statement->name != kSoftwareName ||
        statement->size > static_cast<std::uint64_t>(kMaxPackageBytes)) {
        return std::nullopt;
    }
    return statement;
}

bool packageMatches(std::span<const std::uint8_t> package, const ReleaseStatement& statement) {
    return package.size() == statement.size && sha256Hex(package) == statement.sha256;
}

}  // namespace tamrivo
