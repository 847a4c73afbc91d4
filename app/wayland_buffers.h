#pragma once
// Shared-memory buffers on Wayland: the window paints in software, so it
// needs none of EGL, Mesa or LLVM (about 50 MB resident) where it can do
// without them.

#include <string>
#include <string_view>

namespace tallix::app {

// What preferSharedMemoryBuffers() chose for Qt's Wayland client.
enum class WaylandBuffers {
  QtDefault,       // not on Wayland, the user's own choice, or no plugin for the running Qt
  OwnIntegration,  // "tallix-shm": shared memory, and Qt draws the window frames
};

// Call before the application object exists. When the program will run on
// Qt's generic Wayland client, the user has chosen no client buffer
// integration and the program's own "tallix-shm" plugin is installed for the
// running Qt, asks Qt for it: shared-memory buffers, no EGL, Mesa or LLVM
// loaded, and Qt still draws the window frames (it draws them only for an
// integration that says it may). Anything else leaves Qt's Wayland client as
// it is.
WaylandBuffers preferSharedMemoryBuffers();

// Call before the application object exists. When the program will run on
// Qt's generic Wayland client, the user has chosen no window frame
// (QT_WAYLAND_DECORATION) and the program's own "tallix-frame" plugin is
// installed for the running Qt, asks Qt for it and returns true: the frames
// Qt draws then carry the caption boxes each window's flags ask for.
bool preferOwnFrame();

// The folder of the program's own Qt plugins: "plugins" beside the running
// executable, e.g. /usr/lib/tallix/tallix -> /usr/lib/tallix/plugins; empty
// when the executable cannot be found.
std::string pluginFolder();

// Whether a plugin built for Qt `builtFor` loads into the running Qt
// `running` (qVersion()): `builtFor` is "6.4" for one declared for that
// minor release, a full "6.8.2" for one built on Qt's private headers, so
// ("6.4", "6.4.2") -> true, ("6.4", "6.5.0") -> false, ("6.4", "6.40.1") ->
// false, ("6.8.2", "6.8.3") -> false.
bool pluginSuitsQt(std::string_view builtFor, std::string_view running);

// Whether Qt will use its generic Wayland client, from QT_QPA_PLATFORM
// (empty when unset) and WAYLAND_DISPLAY: waylandClientLikely("", "wayland-0")
// -> true; "wayland-egl" sets EGL up at once, so -> false.
bool waylandClientLikely(std::string_view platform, std::string_view waylandDisplay);

}  // namespace tallix::app
