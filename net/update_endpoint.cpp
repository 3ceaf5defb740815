#include "net/update_endpoint.h"

namespace tamrivo {

// The host is chosen when the program is built (the TAMRIVO_UPDATE_HOST cache variable).
Text updateEndpoint() {
    return Text("http://") + TAMRIVO_UPDATE_HOST + ":81/autoUpdate.php";
}

UpdateDelivery updateDelivery() {
    return TAMRIVO_PACKAGED ? UpdateDelivery::SystemPackages : UpdateDelivery::Download;
}

}  // namespace tamrivo
