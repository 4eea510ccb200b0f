#pragma once

namespace vorlane {

// Whether the environment names a display (DISPLAY, WAYLAND_DISPLAY) or a Qt platform
// (QT_QPA_PLATFORM). Without any, Qt would abort on start with a message about a display
// connection; we tell the operator how to run the program instead.
bool displayConfigured();

// The one line that says so.
inline constexpr const char* kNoDisplayMessage =
    "vorlane: no display; run it in a desktop session, or under xvfb-run";

}  // namespace vorlane
