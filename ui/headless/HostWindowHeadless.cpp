#include "ui/headless/HostWindowHeadless.h"

#include <algorithm>

#include "base/MessageBus.h"
#include "ui/cairo/CanvasCairo.h"
#include "ui/headless/HostHeadless.h"

namespace ui {

HostWindowHeadless::HostWindowHeadless(HostHeadless& host, HostWindowEvents& events, const WindowCreateParams& params)
    : host_(&host), events_(events), params_(params), title_(params.title), bounds_(params.rect) {
  handle_ = MessageBus::Instance().Register([this](uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return events_.OnWindowMessage(message, wParam, lParam);
  });
  dirty_ = {0, 0, bounds_.Width(), bounds_.Height()};
}

HostWindowHeadless::~HostWindowHeadless() {
  if (!destroyed_) MessageBus::Instance().Unregister(handle_);
  if (host_ != nullptr) host_->Forget(this);
}

void HostWindowHeadless::SetBounds(const Rect& screenRect) {
  Rect rect = screenRect;
  auto clamp = [](int value, int low, int high) {
    if (low > 0) value = std::max(value, low);
    if (high > 0) value = std::min(value, high);
    return value;
  };
  rect.right = rect.left + clamp(rect.Width(), params_.minSize.cx, params_.maxSize.cx);
  rect.bottom = rect.top + clamp(rect.Height(), params_.minSize.cy, params_.maxSize.cy);
  const bool resized = rect.Width() != bounds_.Width() || rect.Height() != bounds_.Height();
  bounds_ = rect;
  if (!resized) return;
  InvalidateAll();
  events_.OnResize(ClientSize());
}

void HostWindowHeadless::CenterOver(WindowHandle owner) {
  Rect area{0, 0, 1920, 1080};  // the simulated screen
  if (host_ != nullptr) {
    if (HostWindowHeadless* window = host_->Window(owner)) area = window->Bounds();
  }
  const int left = area.left + (area.Width() - bounds_.Width()) / 2;
  const int top = area.top + (area.Height() - bounds_.Height()) / 2;
  SetBounds({left, top, left + bounds_.Width(), top + bounds_.Height()});
}

void HostWindowHeadless::Show(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  if (visible) {
    minimized_ = false;
    InvalidateAll();
    if (host_ != nullptr) host_->Focus(this);
  }
}

void HostWindowHeadless::Invalidate(const Rect& rect) {
  if (destroyed_) return;
  const Rect clipped = rect.Intersect({0, 0, bounds_.Width(), bounds_.Height()});
  if (!clipped.IsEmpty()) dirty_ = dirty_.Union(clipped);
}

void HostWindowHeadless::InvalidateAll() {
  if (!destroyed_) dirty_ = {0, 0, bounds_.Width(), bounds_.Height()};
}

void HostWindowHeadless::SetTimer(int timerId, int intervalMs) {
  if (destroyed_) return;
  const int64_t now = host_ != nullptr ? host_->Now() : 0;
  timers_[timerId] = {std::max(1, intervalMs), now + std::max(1, intervalMs)};
}

void HostWindowHeadless::Destroy() {
  if (destroyed_) return;
  destroyed_ = true;
  visible_ = false;
  timers_.clear();
  MessageBus::Instance().Unregister(handle_);
  if (host_ != nullptr) host_->Forget(this);
  host_ = nullptr;
  events_.OnDestroyed();  // may delete this: nothing after it
}

void HostWindowHeadless::Paint(bool whole) {
  if (destroyed_) return;
  const Size size = ClientSize();
  if (size.cx <= 0 || size.cy <= 0) return;
  if (!surface_ || cairo_image_surface_get_width(surface_.get()) != size.cx ||
      cairo_image_surface_get_height(surface_.get()) != size.cy) {
    surface_.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size.cx, size.cy));
    whole = true;
  }
  const Rect dirty = whole ? Rect{0, 0, size.cx, size.cy} : dirty_;
  dirty_ = {};
  if (dirty.IsEmpty()) return;
  cairo_t* cr = cairo_create(surface_.get());
  cairo_rectangle(cr, dirty.left, dirty.top, dirty.Width(), dirty.Height());
  cairo_clip(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_paint(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  {
    CanvasCairo canvas(cr);
    events_.OnPaint(canvas, dirty);
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface_.get());
  ++paints_;
  // What the paint itself invalidated inside the painted area is already on the picture.
  if (!dirty_.IsEmpty() && dirty_.Intersect(dirty) == dirty_) dirty_ = {};
}

}  // namespace ui
