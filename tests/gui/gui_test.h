// Window tests: a real wxApp on a real (virtual) display. Waiting is always for a condition,
// with a bound, never for a number of event-loop turns.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>

class wxColour;
class wxImage;
class wxPoint;
class wxWindow;
class wxSize;

namespace talvo::testing {

// Bounds on the client's own work grow by this factor in a sanitizer build, where every memory
// access is checked; bounds set by the network's limits do not.
// Work that allocates at every step (filling a list row by row, mostly inside GTK) slows far
// more, by kAllocatingSlowdown: the sanitized run unwinds the whole stack at each allocation.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr int kInstrumentedSlowdown = 3;
inline constexpr int kAllocatingSlowdown = 20;
#else
inline constexpr int kInstrumentedSlowdown = 1;
inline constexpr int kAllocatingSlowdown = 1;
#endif

// Runs the event loop until `condition` holds or `timeout_ms` passes; true when it held.
bool WaitFor(const std::function<bool()>& condition, int timeout_ms = 5000);
// The same as an assertion's argument: a failure says what was waited for, and how long.
::testing::AssertionResult WaitFor(std::string_view what, const std::function<bool()>& condition,
                                   int timeout_ms = 5000);

// A real click of the first button at a point of the screen, as the pointer makes it (xdotool).
void ClickOnScreen(const wxPoint& point);

// Destroys a top-level window and waits until it is gone.
void DestroyAndWait(wxWindow* window);

// A property of a top-level window as the X server holds it (xprop's line), for what only the
// window manager knows: _NET_WM_STATE, _NET_WM_NAME.
std::string WindowProperty(wxWindow* window, const std::string& property);

// A top-level window's size as the X server holds it: in device pixels.
wxSize DeviceSize(wxWindow* window);

// Whether the desktop keeps the window above others: the window manager's _NET_WM_STATE_ABOVE
// on X11, WS_EX_TOPMOST on Windows.
bool KeptAbove(wxWindow* window);

// Saves the whole display as a picture (PNG on Linux, BMP on Windows) under the build's artifacts
// folder, once what was just loaded has had time to reach the screen; returns the path.
std::string SaveScreenshot(const std::string& name);

// The colour of one pixel of a screenshot, without its alpha.
wxColour PixelAt(const wxImage& shot, const wxPoint& point);

}  // namespace talvo::testing
