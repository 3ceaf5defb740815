#pragma once

namespace tamrivo {

// Initialises libcurl for the whole process exactly once, however many threads ask at once.
// Every use of libcurl calls this first.
void ensureCurlInitialised();

}  // namespace tamrivo
