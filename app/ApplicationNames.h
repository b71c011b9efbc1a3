#pragma once
// The names the application registers with the toolkit, and those of its settings store. The
// store keeps its own application key, so settings written by earlier versions are found.

namespace pw {

inline constexpr const char* organisationName = "tallowmere";
inline constexpr const char* organisationDomain = "tallowmere.example";
inline constexpr const char* applicationName = "Plinthwright";
inline constexpr const char* settingsApplicationName = "basaltora";

// Sets the organisation name and domain and the application name on the running application.
void registerApplicationNames();

}  // namespace pw
