#pragma once
// The names the application registers with the toolkit, and those of its settings store. The
// store keeps its own application key, so settings written by earlier versions are found.

#include <memory>

class QObject;
class QSettings;

namespace pw {

inline constexpr const char* organisationName = "tallowmere";
inline constexpr const char* organisationDomain = "tallowmere.example";
inline constexpr const char* applicationName = "Plinthwright";
inline constexpr const char* settingsApplicationName = "basaltora";

// Sets the organisation name and domain and the application name on the running application.
void registerApplicationNames();

// The settings store: the platform's native one, in the user's scope, under the store's own
// application key. Tests point it at files of their own.
std::unique_ptr<QSettings> openSettingsStore(QObject* parent = nullptr);

}  // namespace pw
