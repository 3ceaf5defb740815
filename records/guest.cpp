#include "records/guest.h"

namespace tamrivo {

std::string_view documentTypeName(DocumentType type) {
    return kDocumentTypeNames[static_cast<std::size_t>(type) - 1];
}

DocumentType documentTypeFrom(int value) {
    const bool known = value >= static_cast<int>(DocumentType::ResidentIdCard) &&
                       value <= static_cast<int>(DocumentType::Other);
    return known ? static_cast<DocumentType>(value) : DocumentType::Other;
}

bool needsNationality(DocumentType type) {
    return type == DocumentType::ForeignPermanentResidentCard || type == DocumentType::Passport;
}

bool isForeignGuest(const Guest& guest) {
    return needsNationality(guest.documentType) && guest.nationality != "中国";
}

}  // namespace tamrivo
