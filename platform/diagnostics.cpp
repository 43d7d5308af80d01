#include "platform/diagnostics.h"

#include <wx/debug.h>
#include <wx/log.h>

namespace talvo {
namespace {

void AssertToStderr(const wxString& file, int line, const wxString& function,
                    const wxString& condition, const wxString& message) {
  std::fprintf(
      stderr, "talvo: wx assert %s:%d in %s: %s %s\n", static_cast<const char*>(file.utf8_str()),
      line, static_cast<const char*>(function.utf8_str()),
      static_cast<const char*>(condition.utf8_str()), static_cast<const char*>(message.utf8_str()));
}

}  // namespace

wxLog* RouteLogTo(std::FILE* sink) {
  // wxLogStderr writes each message as it comes; there is no dialog to flush to.
  return wxLog::SetActiveTarget(new wxLogStderr(sink));
}

void RouteAssertsToStderr() { wxSetAssertHandler(AssertToStderr); }

}  // namespace talvo
