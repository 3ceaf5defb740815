#include "update_format/running_version.h"

namespace tamrivo {

extern const char kRunningVersion[] = TAMRIVO_VERSION;

}  // namespace tamrivo
