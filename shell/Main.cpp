// Tavik: three solid tori turning like the rings of a gyroscope in front of a slowly turning
// cloud of stars, lit by two wandering coloured spotlights. Every movement and colour comes
// from forty random-walk animation channels, so the picture never repeats.
//
// Keys (upper and lower case alike):
//   Left/Right arrows  gyro rotate speed          < >   tessellation (3 to 50)
//   - =                world rotate speed         _ +   world movement speed
//   { }                camera Z                   ( )   light rotate speed
//   , .                field of view (10 to 178)  [ ]   object size
//   C  frame-rate readout    F  full screen / window    L  letterbox size 0-6
//   O  overlapping / nested rings    P  pause           R  reset and randomise
//   S  spotlights    T  textures    U  universe of stars    W  polygons / lines / points
//   space  hyperspace (the screen is not cleared)    ? or /  help page
//   Escape  fade out and quit
//
// The program reads font.bmp from its working directory and runs without it.
#include "shell/Shell.h"

int main(int argc, char** argv) {
    return AppMain(argc, argv);
}
