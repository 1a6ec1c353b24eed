// The star field: randomly placed and tinted points compiled into one display list and
// drawn three times at three point sizes and orientations.
#pragma once

#include <cstdint>

// Shape of the star volume handed to StarField::Build.
enum StarShape : int {
    kStarCubeShell = 1,         // inside the outer cube, outside the inner one
    kStarUpperSphereShell = 2,  // spherical shell, y >= 0
    kStarSphereShell = 3,       // any other value: spherical shell
};

class StarField {
public:
    StarField() : listId(-1) {}
    // Does not delete the list: Release must run while the context exists.
    virtual ~StarField() {}

    // Replaces the held list with count new stars.
    void Build(int count, float outerRadius, float innerRadius, int shape);
    // Draws the list three times. Leaves the point size at 3, blending off and the current
    // colour at the last star's colour.
    void Draw() const;
    // Deletes the held list, if any.
    void Release();

    int32_t ListId() const { return listId; }

private:
    int32_t listId;  // display-list name; -1 when none is held
};
