#pragma once
// What the program settles before and around its windows: the answers that need no display, and
// a termination request that closes the window as the user would.
#include <QObject>
#include <functional>
#include <optional>

namespace Launch {
// The program's version, as the package carries it.
const char* Version();

// Runs before the toolkit starts. "--version" prints the version. Without a display (no DISPLAY or
// WAYLAND_DISPLAY, and no platform chosen through QT_QPA_PLATFORM or -platform) the windows cannot
// open: one line says so instead of the toolkit's abort. Returns the exit status when the program
// is to end now.
std::optional<int> BeforeToolkit(int argc, char** argv);

// The line printed without a display; it names kestrin-cli when the program directory holds it.
QString NoDisplayText(bool haveCli);

// SIGTERM (a session ending, `kill`) runs handler on context's thread, from the event loop, instead
// of ending the process on the spot, so the close saves the settings as a click on the window's
// close button does. Needs the application object; call once.
void OnTerminate(QObject* context, std::function<void()> handler);
} // namespace Launch
