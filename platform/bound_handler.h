// An event handler bound for exactly as long as the object that holds it: a feature unit keeps
// one per event it listens to, so none of its handlers can run once the unit is gone, not even
// for an event its source sends while the window comes down.
#pragma once

#include <wx/event.h>
#include <wx/weakref.h>

#include <functional>
#include <utility>

namespace talvo {

template <typename Event>
class BoundHandler {
 public:
  BoundHandler(wxEvtHandler* source, wxEventTypeTag<Event> type,
               std::function<void(Event&)> handler, int id = wxID_ANY)
      : source_(source), type_(type), id_(id), handler_(std::move(handler)) {
    source->Bind(type_, &BoundHandler::Call, this, id_);
  }
  // The source may already be gone: a weak reference tells.
  ~BoundHandler() {
    if (source_) source_->Unbind(type_, &BoundHandler::Call, this, id_);
  }
  BoundHandler(const BoundHandler&) = delete;
  BoundHandler& operator=(const BoundHandler&) = delete;

 private:
  void Call(Event& event) { handler_(event); }

  wxWeakRef<wxEvtHandler> source_;
  wxEventTypeTag<Event> type_;
  int id_;
  std::function<void(Event&)> handler_;
};

}  // namespace talvo
