// The bulletin menu: after every finished load of the service view its visible text is read,
// and a bulletin block in it puts "1." … "6." entries on the menu bar that open their links.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "mainwindow/bulletin_menu.h"
#include "mainwindow/form1_parts.h"

namespace talvo {

class BulletinMenu {
 public:
  explicit BulletinMenu(const Form1Parts& parts);
  ~BulletinMenu();
  BulletinMenu(const BulletinMenu&) = delete;
  BulletinMenu& operator=(const BulletinMenu&) = delete;

  const std::optional<std::vector<std::u16string>>& BulletinFields() const { return fields_; }

  // n1_Click … n6_Click.
  void Clicked(int item);

 private:
  void OnServiceViewLoaded();
  void ReadBlock(const std::u16string& page_text);
  void ShowCaptions();

  const Form1Parts& parts_;
  std::optional<std::vector<std::u16string>> fields_;
  // The title each entry shows, whole: captions are cut from it to fit the screen.
  std::array<std::optional<std::u16string>, kBulletinItems> titles_;
};

}  // namespace talvo
