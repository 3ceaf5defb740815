#pragma once

#include <optional>
#include <string>

#include "base/value_types.h"

namespace tamrivo::release {

// What autoUpdate.php says of one release. Texts are UTF-8.
struct ReleaseOffer {
    std::string version;
    std::string notes;
    std::string packageUrl;
    std::string signatureHex;
    std::string statement;  // the publisher's signed statement of the release
    std::string statementSignatureHex;
};

// The update server's reply: one JSON object in GBK with "软件名称", "版本", "更新说明",
// "更新地址", the package's signature "签名", the signed statement "发布声明" and its
// signature "声明签名". Nothing when a text holds a character GBK cannot write.
std::optional<Text> replyDocument(const ReleaseOffer& offer);

}  // namespace tamrivo::release
