// What a text box of a form asks of the toolkit beyond wx: its label's access key, and a
// password's masking.
#pragma once

class wxStaticText;
class wxTextCtrl;

namespace talvo {

// Alt with the label's underlined letter moves the focus to `box`.
void LabelFor(wxStaticText* label, wxTextCtrl* box);
// Every character shown as "*", and no input-method composition: a password is typed key by key.
void MaskPassword(wxTextCtrl* box);

}  // namespace talvo
