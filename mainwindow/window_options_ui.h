// The window options: 窗口置顶 keeps the window above all others (its caption carries a tick
// while it does), and the border buttons 透明边框 / 取消透明 switch the translucent border.
#pragma once

#include <cstdint>

#include "mainwindow/form1_parts.h"
#include "platform/bound_handler.h"

namespace talvo {

class WindowOptions {
 public:
  explicit WindowOptions(const Form1Parts& parts);
  ~WindowOptions();
  WindowOptions(const WindowOptions&) = delete;
  WindowOptions& operator=(const WindowOptions&) = delete;

  std::int16_t OnTop() const { return on_top_; }

  void chuangkou_Click();
  void Command2_Click();
  void Command3_Click();

 private:
  const Form1Parts& parts_;
  std::int16_t on_top_ = 0;
  BoundHandler<wxCommandEvent> on_command2_;
  BoundHandler<wxCommandEvent> on_command3_;
};

}  // namespace talvo
