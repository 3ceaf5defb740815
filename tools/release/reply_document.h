#pragma once

#include <optional>
#include <string>

#include "ui/value_types.h"

namespace tamrivo::release {

// What autoUpdate.php says of one release. Texts are UTF-8.
struct ReleaseOffer {
    std::string version;
    std::string notes;
    std::string packageUrl;
    std::string signatureHex;
};

// The update server's reply: one JSON object in GBK with "软件名称", "版本", "更新说明",
// "更新地址" and the package's signature "签名". Nothing when a text holds a character GBK
// cannot write.
std::optional<Text> replyDocument(const ReleaseOffer& offer);

}  // namespace tamrivo::release
