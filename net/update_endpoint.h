#pragma once

#include "ui/value_types.h"

namespace tamrivo {

// The update server's address built into the program: "http://" + host + ":81/autoUpdate.php".
Text updateEndpoint();

}  // namespace tamrivo
