// Form_Resize on the window: the layout on every size change and on the first show, and the
// three view switches 看电视, 听广播 and the panel bar.
#pragma once

#include <cstdint>

#include "mainwindow/form1_parts.h"
#include "mainwindow/layout.h"
#include "platform/bound_handler.h"
#include "platform/twips_ui.h"

namespace talvo {

class ViewLayout {
 public:
  explicit ViewLayout(const Form1Parts& parts);
  ~ViewLayout();
  ViewLayout(const ViewLayout&) = delete;
  ViewLayout& operator=(const ViewLayout&) = delete;

  std::int16_t ViewMode() const { return view_mode_; }
  // Start-up's choice of the first view; laid out at the first show.
  void SetViewMode(std::int16_t mode) { view_mode_ = mode; }

  void Form_Resize();
  // While suspended (fullscreen, the small window), size changes lay nothing out.
  void Suspend(bool suspended) { suspended_ = suspended; }
  bool Suspended() const { return suspended_; }
  void jiemu_Click();
  void jiemian_Click();
  void Image1_Click();

  TwipsPlaced& List1() { return list1_; }
  TwipsPlaced& List2() { return list2_; }
  TwipsPlaced& Image1() { return image1_; }

 private:
  void Apply(const LayoutStep& step);

  const Form1Parts& parts_;
  TwipsPlaced list1_;
  TwipsPlaced list2_;
  TwipsPlaced command2_;
  TwipsPlaced command3_;
  TwipsPlaced image1_;
  std::int16_t view_mode_ = kCollapsedView;
  bool suspended_ = false;
  BoundHandler<wxShowEvent> on_show_;
  BoundHandler<wxSizeEvent> on_size_;
};

}  // namespace talvo
