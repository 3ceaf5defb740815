#pragma once

#include "base/value_types.h"
#include "update_format/release_statement.h"

namespace tamrivo {

// The package an update server's reply offers: its address ("更新地址") and its signature
// ("签名", hexadecimal), both as the reply gave them, and the publisher's signed statement
// of the release, already checked.
struct UpdatePackage {
    Text url;
    Text signature;
    ReleaseStatement statement;
};

// How a new release reaches this build: downloaded by the program itself and handed to its
// updater, or installed by the system's package manager (a build the Debian package carries).
enum class UpdateDelivery { Download, SystemPackages };

}  // namespace tamrivo
