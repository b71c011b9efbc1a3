#include "TrackOperations.h"

#include <array>

namespace pw {

const char* coasterStyleName(std::int32_t code)
{
    // Indexed by code; nullptr marks a code in range that has no name.
    static constexpr std::array<const char*, 51> names{
        "Classic Steel Looping",              // 0
        "Corkscrew Coaster",                  // 1
        "Inverted Coaster 2-Seat",            // 2
        "Twisted Steel Coaster",              // 3
        "Inverted Coaster 4-Seat",            // 4
        "Hyper Coaster",                      // 5
        "Floorless Twisted Steel Coaster",    // 6
        "Stand-Up Twisted Steel Coaster",     // 7
        "Hyper Coaster 4-Seat",               // 8
        "Wooden Coaster 2-Seat (Trailered)",  // 9
        "Wooden Coaster 4-Seat (Classic)",    // 10
        "Wooden Coaster 6-Seat (Classic)",    // 11
        "Wooden Coaster 4-Seat (Trailered)",  // 12
        "Lim Launched Coaster",               // 13
        "Inverted Face-to-Face Coaster",      // 14
        "Inverted Impulse Coaster",           // 15
        nullptr,
        nullptr,                             // 16, 17
        "Vekoma Flying Dutchman",            // 18
        nullptr,                             // 19
        "Maurer S\xF6hne Spinning Coaster",  // 20
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,  // 21 to 26
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,                                     // 27 to 32
        nullptr,                                     // 33
        "Vekoma Minetrain Coaster",                  // 34
        "Vekoma Minetrain Coaster with locomotive",  // 35
        "Gerstlauer Euro-Fighter",                   // 36
        nullptr,                                     // 37
        "Vekoma Motorbike Coaster",                  // 38
        "Gerstlauer Bobsled Coaster",                // 39
        nullptr,                                     // 40
        "Gerstlauer Spinning Coaster",               // 41
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,                           // 42 to 46
        "Gerstlauer Euro-Fighter 2",       // 47
        nullptr,                           // 48
        "Steel Looping Coaster (Modern)",  // 49
        "Maurer S\xF6hne X-Car Coaster",   // 50
    };
    const auto index = static_cast<std::uint32_t>(code);
    if (index >= names.size() || names[index] == nullptr) {
        return "Unknown";
    }
    return names[index];
}

}  // namespace pw
