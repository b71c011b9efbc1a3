#pragma once
// What the plan window's tests start from: the main window shown, its plan window beside it, and
// a copy of the demo track to load.

#include "PlanCoordinator.h"
#include "WindowHarness.h"

#include <memory>
#include <optional>

namespace pw::test {

struct PlanWindowFixture {
    // A new main window and plan window; `demo` stays empty when the track cannot be copied.
    void open()
    {
        h.emplace();
        h->window->show();
        plan = std::make_unique<PlanCoordinator>(h->window->session(), *h->window);
        demo = h->copyExample(QStringLiteral("demo.nltrack"));
    }
    // The plan window goes first: it observes the main window's session.
    void close()
    {
        plan.reset();
        h.reset();
    }

    std::optional<WindowHarness> h;
    std::unique_ptr<PlanCoordinator> plan;
    QString demo;
};

}  // namespace pw::test
