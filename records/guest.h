#pragma once

#include <array>
#include <string_view>

#include "base/value_types.h"

namespace tamrivo {

// The documents a guest may register with, as the police system names them. The values are
// stored; new kinds go at the end.
enum class DocumentType : int {
    ResidentIdCard = 1,
    HongKongMacauPermit = 2,
    TaiwanPermit = 3,
    ForeignPermanentResidentCard = 4,
    Passport = 5,
    Other = 6,
};

inline constexpr std::array<std::string_view, 6> kDocumentTypeNames{"居民身份证",
                                                                    "港澳居民来往内地通行证",
                                                                    "台湾居民来往大陆通行证",
                                                                    "外国人永久居留身份证",
                                                                    "护照",
                                                                    "其他"};

std::string_view documentTypeName(DocumentType type);
// The type a stored or chosen number stands for; Other for anything unknown.
DocumentType documentTypeFrom(int value);
// Whether the document is not a mainland one, so the guest's nationality must be given.
bool needsNationality(DocumentType type);

// One guest of a stay, as registered. Texts are GBK; dates "yyyy-MM-dd"; validUntil may also be
// "长期". In records whose identity fields were purged, the document number, address,
// authority, birth date and validity are empty.
struct Guest {
    int id = 0;  // 0 for a guest not yet stored
    Text name;
    Text sex;  // "男" or "女"
    Text nation;
    Text birthDate;
    DocumentType documentType = DocumentType::ResidentIdCard;
    Text documentNumber;
    Text nationality;
    Text address;
    Text authority;
    Text validUntil;
    Text phone;
    bool reported = false;
    Text reportedAt;  // "yyyy-MM-dd HH:mm:ss"
};

inline constexpr char kLongTermValidity[] = "长期";

// Whether the guest is a foreigner, whose arrival is reported within 24 hours: a foreigner's
// document of another nationality than China's.
bool isForeignGuest(const Guest& guest);

}  // namespace tamrivo
