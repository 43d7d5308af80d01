// A child window placed in twips: each of left, top, width and height can be set alone and read
// back as set; a negative width or height is refused and the old value stays, as a minimised or
// very small window would otherwise ask for.
#pragma once

#include "platform/twips.h"

class wxWindow;

namespace talvo {

class TwipsPlaced {
 public:
  TwipsPlaced(wxWindow* window, const TwipsRect& rect) : window_(window) { SetRect(rect); }
  virtual ~TwipsPlaced() = default;
  TwipsPlaced(const TwipsPlaced&) = delete;
  TwipsPlaced& operator=(const TwipsPlaced&) = delete;

  double Left() const { return rect_.left; }
  double Top() const { return rect_.top; }
  double Width() const { return rect_.width; }
  double Height() const { return rect_.height; }
  void SetWidth(double twips);
  void SetRect(const TwipsRect& rect);

  wxWindow* Window() const { return window_; }

 protected:
  explicit TwipsPlaced(wxWindow* window) : window_(window) {}

 private:
  void Apply();

  wxWindow* window_;
  TwipsRect rect_;
};

// The desktop's text resolution as the toolkit uses it for every font: Xft.dpi on GTK, the
// system's on Windows, or the default 96.
double DesktopTextDpi();

// Places a window at a rectangle given in twips, at the desktop's text resolution.
void PlaceInTwips(wxWindow* window, const TwipsRect& rect);

// Where `parent`'s children overlap, the one made later is drawn above: GTK stacks them so by
// itself, while Win32 (wx putting each new child at the bottom, for its tab order) the other way.
void StackAsMade(wxWindow* parent);

}  // namespace talvo
