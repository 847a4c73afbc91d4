#pragma once
// Shared-memory buffers on Wayland: the window paints in software, so it
// needs none of EGL, Mesa or LLVM (about 50 MB resident) where it can do
// without them.

#include <string_view>

namespace tallix::app {

// Call before the application object exists. When the program will run on
// Wayland, the user has chosen no client buffer integration and the
// compositor draws window frames itself, asks Qt's Wayland client for
// shared-memory buffers only and returns true. Qt 6.4 draws its own window
// frames only through its EGL integration, so where the compositor leaves
// the frames to the program (Weston, GNOME) the default stays: a window
// without a title bar would cost more than the memory saved.
bool preferSharedMemoryBuffers();

// Whether Qt will use its generic Wayland client, from QT_QPA_PLATFORM
// (empty when unset) and WAYLAND_DISPLAY: waylandClientLikely("", "wayland-0")
// -> true; "wayland-egl" sets EGL up at once, so -> false.
bool waylandClientLikely(std::string_view platform, std::string_view waylandDisplay);

// Whether the compositor at WAYLAND_DISPLAY announces the global `name`, e.g.
// "zxdg_decoration_manager_v1" (server-drawn frames); false when no
// compositor can be reached. libwayland-client is opened for the question only.
bool compositorOffers(std::string_view name);

}  // namespace tallix::app
