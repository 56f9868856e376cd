#pragma once
// What the user asked the debugging machine to do next; the debug view keeps its own
// state in the same type (DRM_BREAK while the machine waits in a break).

#include <cstdint>

enum TDebugRunMode : int32_t {
    DRM_RUN = 0,        // stop only at break points
    DRM_STEP_OVER = 1,  // stop at the next line back at the level where it was chosen
    DRM_STEP_IN = 2,    // stop at the next line
    DRM_STEP_OUT = 3,   // stop at the RETURN that leaves the level where it was chosen
    DRM_BREAK = 4,      // the view's state while the machine waits; never given to it
    DRM_STOP = 5,       // Pause: stop before the next instruction
};
