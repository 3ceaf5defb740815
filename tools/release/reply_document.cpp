#include "tools/release/reply_document.h"

#include <cstdio>

#include "base/text_encoding.h"
#include "update_format/release_statement.h"
#include "update_format/update_format.h"

namespace tamrivo::release {

namespace {

// Escaped in UTF-8, before the conversion: a GBK character's second byte may look like a
// backslash or a quote, a UTF-8 one never does.
std::string jsonString(const std::string& utf8) {
    std::string quoted = "\"";
    for (const char c : utf8) {
        switch (c) {
            case '"':
                quoted += "\\\"";
                break;
            case '\\':
                quoted += "\\\\";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\r':
                quoted += "\\r";
                break;
            case '\t':
                quoted += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof(escape), "\\u%04x", c);
                    quoted += escape;
                } else {
                    quoted += c;
                }
        }
    }
    return quoted + "\"";
}

// The name is the program's own GBK text; the value comes in UTF-8.
std::optional<Text> member(const Text& name, const std::string& value) {
    Text gbk = utf8ToGbk(jsonString(value));
    if (gbk.empty()) {
        return std::nullopt;
    }
    return "\"" + name + "\":" + gbk;
}

}  // namespace

std::optional<Text> replyDocument(const ReleaseOffer& offer) {
    const std::optional<Text> members[] = {
        member("软件名称", kSoftwareName),
        member("版本", offer.version),
        member("更新说明", offer.notes),
        member("更新地址", offer.packageUrl),
        member("签名", offer.signatureHex),
        member(kReplyStatement, offer.statement),
        member(kReplyStatementSignature, offer.statementSignatureHex),
    };
    Text document = "{";
    for (const std::optional<Text>& each : members) {
        if (!each) {
            return std::nullopt;
        }
        document += (document.size() > 1 ? "," : "") + *each;
    }
    return document + "}\n";
}

}  // namespace tamrivo::release
