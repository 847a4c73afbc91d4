#pragma once
// Shared-memory buffers on Wayland: the window paints in software, so it
// needs none of EGL, Mesa or LLVM (about 50 MB resident) where it can do
// without them.

#include <string>
#include <string_view>

namespace tallix::app {

// What preferSharedMemoryBuffers() chose for Qt's Wayland client.
enum class WaylandBuffers {
  QtDefault,         // not on Wayland, the user's own choice, or Qt's EGL default kept
  OwnIntegration,    // "tallix-shm": shared memory, and Qt draws the window frames
  SharedMemoryOnly,  // no integration at all: the compositor draws the frames
};

// Call before the application object exists. When the program will run on
// Qt's generic Wayland client and the user has chosen no client buffer
// integration, asks for shared-memory buffers, so that no EGL, Mesa or LLVM
// is loaded: through the program's own "tallix-shm" plugin when it is
// installed for the running Qt (Qt 6.4 draws its window frames only for an
// integration that says it may), else with no integration at all where the
// compositor draws the frames itself. Elsewhere Qt's default stays: a window
// without a title bar would cost more than the memory saved.
WaylandBuffers preferSharedMemoryBuffers();

// The folder of the program's own Qt plugins: "plugins" beside the running
// executable, e.g. /usr/lib/tallix/tallix -> /usr/lib/tallix/plugins; empty
// when the executable cannot be found.
std::string pluginFolder();

// Whether a plugin built against Qt `builtFor` ("6.4") loads into the running
// Qt `running` (qVersion()): the same major.minor, so ("6.4", "6.4.2") ->
// true, ("6.4", "6.5.0") -> false, ("6.4", "6.40.1") -> false.
bool pluginSuitsQt(std::string_view builtFor, std::string_view running);

// Whether Qt will use its generic Wayland client, from QT_QPA_PLATFORM
// (empty when unset) and WAYLAND_DISPLAY: waylandClientLikely("", "wayland-0")
// -> true; "wayland-egl" sets EGL up at once, so -> false.
bool waylandClientLikely(std::string_view platform, std::string_view waylandDisplay);

// Whether the compositor at WAYLAND_DISPLAY announces the global `name`, e.g.
// "zxdg_decoration_manager_v1" (server-drawn frames); false when no
// compositor can be reached. libwayland-client is opened for the question only.
bool compositorOffers(std::string_view name);

}  // namespace tallix::app
