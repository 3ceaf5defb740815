#pragma once

#include <cstdint>
#include <span>

namespace tamrivo {

// The updater program, built with this one and carried inside it; written out beside the
// program when an update is ready to be unpacked. The updater's build defines both
// (tamrivo_updater_image); only what writes the updater out links it.
std::span<const std::uint8_t> updaterImage();

// Its file name on this platform.
extern const char kUpdaterFileName[];

}  // namespace tamrivo
