#include "app/program_state.h"

#include <utility>

namespace tamrivo {

ProgramState::ProgramState(WindowServices& services, Text updateEndpoint, Text updatePublicKey,
                           UpdateDelivery updateDelivery)
    : layoutKeeper(services),
      runningVersion(kRunningVersion),
      updatePublicKey(std::move(updatePublicKey)),
      updateCheckView(services, updateDelivery),
      updateChecker(std::move(updateEndpoint), runningVersion, this->updatePublicKey),
      // Stopping a download waits for its worker while the windows keep answering.
      downloader([&services] { services.doEvents(); }) {}

// A Database object leaves its connection open when it goes; the program's one connection
// is closed here, at the end.
ProgramState::~ProgramState() {
    database.close();
}

}  // namespace tamrivo
