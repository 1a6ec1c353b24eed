// The help page: a title and 26 lines listing the keys, drawn over the running scene.
#pragma once

void DrawHelpScreen();
