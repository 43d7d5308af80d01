// Window tests: a real wxApp on a real (virtual) display. Waiting is always for a condition,
// with a bound, never for a number of event-loop turns.
#pragma once

#include <functional>

class wxWindow;

namespace talvo::testing {

// Runs the event loop until `condition` holds or `timeout_ms` passes; true when it held.
bool WaitFor(const std::function<bool()>& condition, int timeout_ms = 5000);

// Destroys a top-level window and waits until it is gone.
void DestroyAndWait(wxWindow* window);

// Saves the whole display as a PNG under the build's artifacts folder, once what was just
// loaded has had time to reach the screen; returns the path.
std::string SaveScreenshot(const std::string& name);

}  // namespace talvo::testing
