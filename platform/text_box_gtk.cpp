#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <gtk/gtk.h>

#include "platform/text_box_ui.h"

namespace talvo {

void LabelFor(wxStaticText* label, wxTextCtrl* box) {
  auto* gtk_label = static_cast<GtkWidget*>(label->GetHandle());
  if (GTK_IS_LABEL(gtk_label)) {
    gtk_label_set_mnemonic_widget(GTK_LABEL(gtk_label), static_cast<GtkWidget*>(box->GetHandle()));
  }
}

void MaskPassword(wxTextCtrl* box) {
  auto* entry = static_cast<GtkWidget*>(box->GetHandle());
  if (!GTK_IS_ENTRY(entry)) return;
  gtk_entry_set_invisible_char(GTK_ENTRY(entry), '*');
  gtk_entry_set_input_purpose(GTK_ENTRY(entry), GTK_INPUT_PURPOSE_PASSWORD);
  g_object_set(entry, "im-module", "gtk-im-context-simple", nullptr);
}

}  // namespace talvo
