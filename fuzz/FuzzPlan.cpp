// Any bytes, read as a track and drawn as the plan window draws it: nothing may crash, and no
// pixel outside the strip being painted may change.

#include "PlanStrips.h"
#include "StopOnFailure.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

namespace {

// Never destroyed: at the process's exit Qt's own statics may already be gone.
QGuiApplication* application = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_plan";
    static char* argv[] = {name, nullptr};
    application = new QGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return pw::hardening::stopOnFailure(pw::hardening::checkPlanStrips({data, size}));
}
