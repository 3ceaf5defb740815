#pragma once

namespace tamrivo {

// Chosen when the program is built (the TAMRIVO_VERSION cache variable). Defined in a
// library of its own, so that a program can be linked with another version text.
extern const char kRunningVersion[];

}  // namespace tamrivo
