// The golden scenes: each with its reference picture, tests/golden/<name>.png, and the
// tavik-snapshot arguments that draw it. The browser's pictures (tests/web) are drawn from
// the same arguments, as snapshot.html's query.
#pragma once

struct GoldenCase {
    const char* name;
    const char* arguments;
};

// Frame 40 is 0.64 s into the demo: the scene has moved and the status line still shows.
inline constexpr GoldenCase kGoldenCases[] = {
    {"default", "--size 320x240 --frame 40"},
    {"help", "--size 640x480 --key 0:? --frame 40"},
    {"letterbox6", "--size 320x240 --key 0:l*6 --frame 40"},
    {"wireframe", "--size 320x240 --key 0:w --frame 40"},
    {"points", "--size 320x240 --key 0:w*2 --frame 40"},
    {"nested", "--size 320x240 --key 0:o --frame 40"},
    // Hyperspace needs cleared frames before it: it starts from their depth buffer.
    {"hyperspace", "--size 320x240 --key 30:space --frame 45"},
};
