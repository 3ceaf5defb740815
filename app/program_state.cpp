#include "app/program_state.h"

#include <utility>

namespace tamrivo {

ProgramState::ProgramState(WindowServices& services, Text updateEndpoint)
    : layoutKeeper(services),
      runningVersion(kRunningVersion),
      updateChecker(services, std::move(updateEndpoint), runningVersion),
      // Stopping a download waits for its worker while the windows keep answering.
      downloader([&services] { services.doEvents(); }) {}

}  // namespace tamrivo
