#include "Startup.h"

#include "IncomingTrackFile.h"
#include "PlanCoordinator.h"
#include "WindowPlacement.h"
#include "frmMain.h"

#include <QScreen>

#include <algorithm>

namespace pw {

StartedWindows::StartedWindows() = default;
StartedWindows::StartedWindows(StartedWindows&&) noexcept = default;

StartedWindows::~StartedWindows() = default;

StartedWindows startWindows(const QStringList& arguments)
{
    StartedWindows windows;
    windows.main = std::make_unique<frmMain>();
    frmMain& window = *windows.main;
    // Placed by us rather than by the window system, which may place it only after the plan
    // window has been put beside where it was.
    if (const QScreen* screen = window.screen()) {
        const QSize size(window.width(),
                         std::max(window.height(), window.minimumSizeHint().height()));
        window.move(mainWindowStart(size, screen->availableGeometry()));
    }
    window.show();
    windows.plan = std::make_unique<PlanCoordinator>(window.session(), window);
    // The toolkit has taken its own options out; a file named next is a track to open.
    window.openTrackFile(trackFileFromArguments(arguments));
    return windows;
}

}  // namespace pw
