// What the engine's load errors mean to the viewer: the notice a failed page gets, if any.
#pragma once

#include <glib.h>

#include <optional>

#include "platform/web/page_outage.h"

namespace talvo {

// Why a page failed to load, when the view should say so: nothing for a load that was replaced by
// another, refused as a download, or ended by a decision of the client's own.
std::optional<LoadTrouble> TroubleOf(const GError* error);

}  // namespace talvo
