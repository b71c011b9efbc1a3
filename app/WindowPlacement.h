#pragma once
// Where the main window and the plan window go on the screen, so that the plan never lies over
// the main window. Rectangles are frame geometries: the frames the window system draws included.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace pw {

struct PlanPlacement {
    QRect frame;
    // No side of the main window had room: the plan lies behind the main window, showing on the
    // side with the most room, and comes to the front only when asked for.
    bool behindMain = false;
};

// Right of the main window where the screen area has room, else left of it, else below, else
// above; as tall as the main window (as wide below or above it), within the screen area.
PlanPlacement planWindowPlacement(const QRect& mainFrame, const QRect& screenArea);

// Where the main window of `mainFrameSize` starts: the pair of it and the plan window at its
// widest that the screen area holds side by side, centred in the area.
QPoint mainWindowStart(QSize mainFrameSize, const QRect& screenArea);

// `frame` moved, and made smaller where it is larger than the area, to lie wholly in the area.
QRect keptInside(const QRect& frame, const QRect& area);

}  // namespace pw
