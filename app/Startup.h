#pragma once
// The program's windows as it starts them: the main window placed where the plan window fits
// beside it, shown, and the track the arguments name opened.

#include <QStringList>

#include <memory>

class PlanCoordinator;
class frmMain;

namespace pw {

struct StartedWindows {
    StartedWindows();
    StartedWindows(StartedWindows&&) noexcept;
    ~StartedWindows();

    std::unique_ptr<frmMain> main;
    // Declared last, so gone first: it observes the main window.
    std::unique_ptr<PlanCoordinator> plan;
};

// `arguments` as the application holds them, the program's own name first.
StartedWindows startWindows(const QStringList& arguments);

}  // namespace pw
