#pragma once

#include "ui/value_types.h"

namespace tamrivo {

// The package an update server's reply offers: its address ("更新地址") and its signature
// ("签名", hexadecimal), both as the reply gave them.
struct UpdatePackage {
    Text url;
    Text signature;
};

}  // namespace tamrivo
