#pragma once

#include "base/value_types.h"
#include "net/update_package.h"

namespace tamrivo {

// The update server's address built into the program: "http://" + host + ":81/autoUpdate.php".
Text updateEndpoint();

// How new releases reach this build: through the system's packages in the Debian package's
// build, through the built-in updater otherwise.
UpdateDelivery updateDelivery();

}  // namespace tamrivo
