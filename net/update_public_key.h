#pragma once

#include "base/value_types.h"

namespace tamrivo {

// The Ed25519 public key (PEM) whose private half signs the packages this program installs,
// chosen when the program is built (the TAMRIVO_UPDATE_PUBLIC_KEY cache variable).
Text updatePublicKey();

}  // namespace tamrivo
