#pragma once

#include "app/program_state.h"

namespace tamrivo {

// What the room window is opened for.
enum class RoomWindowMode { Add, Edit };

// Opens the room window: a new room, or the edit of the room with this id.
void openRoomWindow(App& app, RoomWindowMode mode, int roomId = 0);

}  // namespace tamrivo
