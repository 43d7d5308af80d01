#include "platform/text_box_ui.h"

namespace talvo {

// The system's dialogs find a label's access key by themselves, and wx's password style masks.
void LabelFor(wxStaticText*, wxTextCtrl*) {}
void MaskPassword(wxTextCtrl*) {}

}  // namespace talvo
