#pragma once
// What the window's tests start from: the main window shown, its plan window beside it, a copy of
// the demo track to load, and an empty simulator directory.

#include "PlanCoordinator.h"
#include "WindowHarness.h"

#include <QTemporaryDir>
#include <QtTest>

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
    // The main window exposed before anything is placed beside it, with the plan window only
    // where `withPlan`, and the simulator directory chosen. False where any of it failed.
    [[nodiscard]] bool openExposed(bool withPlan)
    {
        h.emplace();
        h->window->show();
        if (!QTest::qWaitForWindowExposed(h->window.get()))
            return false;
        if (withPlan)
            plan = std::make_unique<PlanCoordinator>(h->window->session(), *h->window);
        demo = h->copyExample(QStringLiteral("demo.nltrack"));
        simulator.emplace();
        h->click("buttonSelectNLDirectory", {simulator->path()});
        return !demo.isEmpty() && simulator->isValid();
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
    std::optional<QTemporaryDir> simulator;
};

}  // namespace pw::test
