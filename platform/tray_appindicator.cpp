#include <glib/gstdio.h>
#include <gtk/gtk.h>
#include <libayatana-appindicator/app-indicator.h>

#include <filesystem>
#include <fstream>

#include "core/debug_trace.h"
#include "core/utf.h"
#include "platform/app_icons.h"
#include "platform/tray.h"

namespace talvo {
namespace {

// The item names its picture by a name and a folder, which the host reads: the program's own
// PNG is written to the session's runtime folder, so that an uninstalled client shows it too. The
// picture is the same for every client, so one folder serves them all and outlives none of them
// that is killed; each writes it whole under a name of its own first, so that no host reads half.
std::filesystem::path IconFolder() {
  const std::filesystem::path folder =
      std::filesystem::path(g_get_user_runtime_dir()) / "talvo-icons";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const EmbeddedPng& largest = AppIconPngs().back();
  const std::filesystem::path icon = folder / (std::string(kApplicationId) + ".png");
  std::filesystem::path part = icon;
  part += "." + std::to_string(getpid());
  std::ofstream(part, std::ios::binary)
      .write(reinterpret_cast<const char*>(largest.data),
             static_cast<std::streamsize>(largest.size));
  std::filesystem::rename(part, icon, error);
  if (error) std::filesystem::remove(part, error);
  return folder;
}

class AppIndicatorTray : public Tray {
 public:
  AppIndicatorTray(std::function<void(int)> on_choice, std::function<void()> on_shown)
      : on_choice_(std::make_shared<std::function<void(int)>>(std::move(on_choice))),
        on_shown_(std::move(on_shown)),
        icons_(IconFolder()),
        // The indicator asks for the session bus on its own and, when its answer comes after
        // the indicator's first use, offers itself on no bus at all: the bus is at hand first.
        bus_(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr)) {
    // Without a session bus no desktop can take the item: there is no icon then.
    if (bus_ == nullptr) {
      DebugTrace("tray", "no session bus: the desktop shows no icon");
      return;
    }
    // Where no watcher takes the item the indicator falls back to an XEmbed icon, which current
    // desktops do not show and whose making reads past the icon theme's search path: the client
    // minimises instead, as on any desktop without a tray.
    auto* indicator_class = static_cast<AppIndicatorClass*>(g_type_class_ref(APP_INDICATOR_TYPE));
    indicator_class->fallback = nullptr;
    indicator_class->unfallback = nullptr;
    g_type_class_unref(indicator_class);
    indicator_ = app_indicator_new_with_path(
        "talvo", kApplicationId, APP_INDICATOR_CATEGORY_APPLICATION_STATUS, icons_.c_str());
    app_indicator_set_status(indicator_, APP_INDICATOR_STATUS_ACTIVE);
    g_signal_connect(
        indicator_, "connection-changed",
        G_CALLBACK(+[](AppIndicator*, gboolean shown, gpointer self) {
          DebugTrace("tray", shown ? "the desktop shows the icon" : "the desktop shows no icon");
          static_cast<AppIndicatorTray*>(self)->on_shown_();
        }),
        this);
    SetMenu({});
  }

  ~AppIndicatorTray() override {
    if (indicator_ != nullptr) {
      g_signal_handlers_disconnect_by_data(indicator_, this);
      g_object_unref(indicator_);
    }
    if (bus_ != nullptr) g_object_unref(bus_);
  }

  bool Shown() const override {
    if (indicator_ == nullptr) return false;
    gboolean connected = FALSE;
    g_object_get(indicator_, "connected", &connected, nullptr);
    return connected;
  }

  void SetMenu(const std::vector<TrayEntry>& entries) override {
    if (indicator_ == nullptr) return;
    GtkWidget* menu = gtk_menu_new();
    Fill(GTK_MENU_SHELL(menu), entries);
    gtk_widget_show_all(menu);
    // The indicator holds the menu from here on, and lets the one before go.
    app_indicator_set_menu(indicator_, GTK_MENU(menu));
  }

  void SetTooltip(const std::u16string& text) override {
    if (indicator_ == nullptr) return;
    app_indicator_set_title(indicator_, Utf16ToUtf8(text).c_str());
  }

 private:
  void Fill(GtkMenuShell* shell, const std::vector<TrayEntry>& entries) {
    for (const TrayEntry& entry : entries) {
      const std::string label = Utf16ToUtf8(entry.label);
      GtkWidget* item = nullptr;
      switch (entry.kind) {
        case TrayEntry::kSeparator:
          item = gtk_separator_menu_item_new();
          break;
        case TrayEntry::kCheck:
          item = gtk_check_menu_item_new_with_label(label.c_str());
          gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(item), entry.checked);
          break;
        case TrayEntry::kSubmenu: {
          item = gtk_menu_item_new_with_label(label.c_str());
          GtkWidget* submenu = gtk_menu_new();
          Fill(GTK_MENU_SHELL(submenu), entry.children);
          gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), submenu);
          break;
        }
        case TrayEntry::kAction:
          item = gtk_menu_item_new_with_label(label.c_str());
          break;
      }
      gtk_widget_set_sensitive(item, entry.enabled);
      if (entry.kind == TrayEntry::kAction || entry.kind == TrayEntry::kCheck) {
        // The item may outlive the tray inside the desktop's bus connection: it holds the
        // choice's handler weakly.
        g_object_set_data_full(
            G_OBJECT(item), "talvo-choice", new Choice{on_choice_, entry.id},
            +[](gpointer data) { delete static_cast<Choice*>(data); });
        g_signal_connect(item, "activate", G_CALLBACK(+[](GtkMenuItem* chosen, gpointer) {
                           const auto* choice = static_cast<Choice*>(
                               g_object_get_data(G_OBJECT(chosen), "talvo-choice"));
                           Later(*choice);
                         }),
                         nullptr);
      }
      gtk_menu_shell_append(shell, item);
    }
  }

  struct Choice {
    std::weak_ptr<std::function<void(int)>> on_choice;
    int id;
  };

  // The choice runs once GTK is done with the item, which it may make the menu again without.
  static void Later(const Choice& choice) {
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        +[](gpointer data) {
          const auto* call = static_cast<Choice*>(data);
          if (const auto on_choice = call->on_choice.lock()) (*on_choice)(call->id);
          return G_SOURCE_REMOVE;
        },
        new Choice(choice), +[](gpointer data) { delete static_cast<Choice*>(data); });
  }

  std::shared_ptr<std::function<void(int)>> on_choice_;
  std::function<void()> on_shown_;
  std::filesystem::path icons_;
  GDBusConnection* bus_ = nullptr;
  AppIndicator* indicator_ = nullptr;
};

}  // namespace

std::unique_ptr<Tray> CreateTray(std::function<void(int)> on_choice,
                                 std::function<void()> on_shown) {
  return std::make_unique<AppIndicatorTray>(std::move(on_choice), std::move(on_shown));
}

}  // namespace talvo
