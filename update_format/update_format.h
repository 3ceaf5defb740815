#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace tamrivo {

// A package larger than this is no package of this program's.
inline constexpr std::int64_t kMaxPackageBytes = std::int64_t{256} << 20;

// The file of a program folder that names its version; a package carries its own.
inline constexpr char kVersionFileName[] = "VERSION";

// The landlord's records, beside the program; no package writes there.
inline constexpr char kDataFolderName[] = "Data";

// The folder the updater keeps its work in, inside the program folder; no package may
// write there.
inline constexpr char kUpdateWorkFolder[] = ".tamrivo-update";

// The one way "Data" is matched: whatever the case of its letters, since a package made on
// a system that ignores case means the same folder.
bool isDataFolderName(std::string_view name);

// True for what no package may write, by its path relative to the program folder: Data/
// and the updater's work folder.
bool reservedPlace(const std::filesystem::path& relative);

// The members of the update server's reply that carry the publisher's signed statement of
// the release, and the statement's signature in hexadecimal.
inline constexpr char kReplyStatement[] = "发布声明";
inline constexpr char kReplyStatementSignature[] = "声明签名";

}  // namespace tamrivo
