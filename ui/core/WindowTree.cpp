// Sections: set-up and shared resources; looking up controls; notifications and filters;
// input; focus and hover; painting and layout; tool tips; timers; groups and lifetime.
#include "ui/core/WindowTree.h"

#include <algorithm>

#include "ui/core/AttributeParsing.h"
#include "ui/core/Container.h"
#include "ui/core/Drawing.h"
#include "ui/core/HighContrastCanvas.h"
#include "ui/core/ImageCache.h"
#include "ui/core/ResizeBorder.h"
#include "ui/core/SystemConstants.h"
#include "ui/core/Theme.h"

namespace ui {

namespace {

constexpr int kToolTipTimer = 1;
constexpr int kToolTipDelayMs = 500;

struct SharedResources {
  std::map<int, FontDef> fonts;
  std::optional<int> defaultFont;
  std::map<std::wstring, std::wstring, std::less<>> styles;
  std::map<std::wstring, std::wstring, std::less<>> defaults;
};

SharedResources& Shared() {
  static auto* shared = new SharedResources();
  return *shared;
}

std::wstring Lower(std::wstring_view text) {
  std::wstring lower(text);
  for (auto& c : lower) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return lower;
}

}  // namespace

// Counts nested event handling; controls removed meanwhile are freed when it ends.
class WindowTree::DispatchScope {
 public:
  explicit DispatchScope(WindowTree& tree) : tree_(tree) { ++tree_.dispatchDepth_; }
  ~DispatchScope() {
    if (--tree_.dispatchDepth_ == 0 && !tree_.released_.empty()) {
      std::vector<std::unique_ptr<Control>> released = std::move(tree_.released_);
      tree_.released_.clear();
    }
  }
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;

 private:
  WindowTree& tree_;
};

// ---- set-up and shared resources ------------------------------------------------------

WindowTree::WindowTree() = default;

WindowTree::~WindowTree() {
  notifiers_.clear();
  filters_.clear();
  root_.reset();
  released_.clear();
}

void WindowTree::AttachHost(HostWindow* host) {
  host_ = host;
  if (host_ == nullptr) return;
  for (const auto& [hostId, slot] : timers_) host_->SetTimer(hostId, slot.intervalMs);
  clientSize_ = host_->ClientSize();
  NeedLayout();
}

void WindowTree::SetScale(int percent) {
  scale_ = std::max(25, percent);
  NeedLayout();
}

int WindowTree::Scaled(int units) const {
  if (scale_ == 100) return units;
  return units >= 0 ? (units * scale_ + 50) / 100 : -((-units * scale_ + 50) / 100);
}

void WindowTree::SetRoot(std::unique_ptr<Control> root) {
  if (root_) ReleaseLater(std::move(root_));
  root_ = std::move(root);
  if (root_) {
    root_->SetParent(nullptr);
    root_->AttachTree(this);
  }
  NeedLayout();
}

bool WindowTree::IsResizable() const {
  const WindowAttributes& a = attributes_;
  const bool fixed = a.minSize.cx > 0 && a.minSize == a.maxSize;
  const bool border = a.sizeBox.left > 0 || a.sizeBox.top > 0 || a.sizeBox.right > 0 || a.sizeBox.bottom > 0;
  return border && !fixed;
}

Rect WindowTree::ContentRect() const {
  const int shadow = Scaled(attributes_.shadowSize);
  return Rect{0, 0, clientSize_.cx, clientSize_.cy}.Deflate({shadow, shadow, shadow, shadow});
}

void WindowTree::AddFont(int id, const FontDef& font, bool isDefault, bool shared) {
  if (shared) {
    Shared().fonts[id] = font;
    if (isDefault) Shared().defaultFont = id;
  } else {
    fonts_[id] = font;
    if (isDefault) defaultFont_ = font;
  }
  NeedLayout();
}

void WindowTree::SetDefaultFont(const FontDef& font) {
  defaultFont_ = font;
  NeedLayout();
}

bool WindowTree::HasFont(int id) const {
  return fonts_.count(id) != 0 || Shared().fonts.count(id) != 0;
}

FontSpec WindowTree::GetFont(int id) const {
  FontDef def;
  if (auto it = fonts_.find(id); it != fonts_.end()) {
    def = it->second;
  } else if (auto shared = Shared().fonts.find(id); shared != Shared().fonts.end()) {
    def = shared->second;
  } else if (defaultFont_) {
    def = *defaultFont_;
  } else if (Shared().defaultFont && Shared().fonts.count(*Shared().defaultFont)) {
    def = Shared().fonts[*Shared().defaultFont];
  }
  return FontSpec{def.face, std::max(1, Scaled(def.size)), def.bold, def.italic, def.underline};
}

void WindowTree::AddStyle(std::wstring name, std::wstring attributes, bool shared) {
  (shared ? Shared().styles : styles_)[std::move(name)] = std::move(attributes);
}

const std::wstring* WindowTree::FindStyle(std::wstring_view name) const {
  if (auto it = styles_.find(name); it != styles_.end()) return &it->second;
  if (auto it = Shared().styles.find(name); it != Shared().styles.end()) return &it->second;
  return nullptr;
}

void WindowTree::AddDefaultAttributes(std::wstring className, std::wstring attributes, bool shared) {
  (shared ? Shared().defaults : defaults_)[Lower(className)] = std::move(attributes);
}

const std::wstring* WindowTree::FindDefaultAttributes(std::wstring_view className) const {
  const std::wstring key = Lower(className);
  if (auto it = defaults_.find(key); it != defaults_.end()) return &it->second;
  if (auto it = Shared().defaults.find(key); it != Shared().defaults.end()) return &it->second;
  return nullptr;
}

void WindowTree::ClearShared() {
  Shared() = SharedResources{};
}

// ---- looking up controls --------------------------------------------------------------

Control* WindowTree::FindControl(std::wstring_view name) const {
  if (!root_ || name.empty()) return nullptr;
  return root_->FindSubControl(name);
}

Control* WindowTree::FindControlAt(Point point) const {
  return root_ ? root_->FindControlAt(point) : nullptr;
}

Control* WindowTree::MouseTarget(Point point) const {
  Control* deepest = FindControlAt(point);
  // A row takes the mouse for everything in it.
  Control* taker = nullptr;
  for (Control* c = deepest; c != nullptr; c = c->GetParent()) {
    if (c->TakesChildMouse()) taker = c;
  }
  if (taker != nullptr) return taker;
  for (Control* c = deepest; c != nullptr; c = c->GetParent()) {
    if (c->AcceptsMouse()) return c;
  }
  return nullptr;
}

// ---- notifications and filters --------------------------------------------------------

void WindowTree::AddNotifier(INotifyUI* notifier) {
  if (std::find(notifiers_.begin(), notifiers_.end(), notifier) == notifiers_.end()) notifiers_.push_back(notifier);
}

void WindowTree::RemoveNotifier(INotifyUI* notifier) {
  std::erase(notifiers_, notifier);
}

void WindowTree::SendNotify(Control* sender, std::wstring_view type, uintptr_t wParam, intptr_t lParam) {
  DispatchScope scope(*this);
  TNotifyUI msg{std::wstring(type), sender, wParam, lParam, lastMouse_};
  const std::vector<INotifyUI*> notifiers = notifiers_;  // a handler may add or remove one
  for (INotifyUI* notifier : notifiers) {
    if (std::find(notifiers_.begin(), notifiers_.end(), notifier) != notifiers_.end()) notifier->Notify(msg);
  }
}

void WindowTree::AddMessageFilter(IMessageFilterUI* filter) {
  if (std::find(filters_.begin(), filters_.end(), filter) == filters_.end()) filters_.push_back(filter);
}

void WindowTree::RemoveMessageFilter(IMessageFilterUI* filter) {
  std::erase(filters_, filter);
}

bool WindowTree::FilterMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const std::vector<IMessageFilterUI*> filters = filters_;
  for (IMessageFilterUI* filter : filters) {
    bool handled = false;
    filter->MessageHandler(message, wParam, lParam, handled);
    if (handled) return true;
  }
  return false;
}

// ---- input ----------------------------------------------------------------------------

void WindowTree::OnMouse(const MouseEvent& event) {
  DispatchScope scope(*this);
  lastMouse_ = event.position;
  UiEvent ui;
  ui.position = event.position;
  ui.button = event.button;
  ui.shift = event.shift;
  ui.control = event.control;
  switch (event.action) {
    case MouseAction::Move: {
      SetHover(MouseTarget(event.position));
      Control* receiver = capture_ != nullptr ? capture_ : hover_;
      if (receiver != nullptr && receiver->IsEnabled()) {
        ui.type = UiEventType::MouseMove;
        receiver->DoEvent(ui);
      }
      // The tool tip follows the control under the mouse after a pause.
      Control* tipOwner = nullptr;
      for (Control* c = FindControlAt(event.position); c != nullptr; c = c->GetParent()) {
        if (!c->GetToolTip().empty()) {
          tipOwner = c;
          break;
        }
      }
      if (tipOwner != toolTipOwner_) {
        HideToolTip();
        toolTipOwner_ = tipOwner;
        toolTipAt_ = event.position;
        if (tipOwner != nullptr) SetTimer(nullptr, kToolTipTimer, kToolTipDelayMs);
      }
      break;
    }
    case MouseAction::Down:
    case MouseAction::DoubleClick: {
      HideToolTip();
      toolTipOwner_ = nullptr;
      Control* target = MouseTarget(event.position);
      SetHover(target);
      if (event.button != MouseButton::Left) break;
      focusVisible_ = false;
      SetFocus(target != nullptr && target->IsFocusable() && target->IsEnabled() ? target : nullptr);
      if (target == nullptr || !target->IsEnabled()) break;
      capture_ = target;
      if (host_ != nullptr) host_->CaptureMouse(true);
      ui.type = event.action == MouseAction::Down ? UiEventType::ButtonDown : UiEventType::DoubleClick;
      target->DoEvent(ui);
      break;
    }
    case MouseAction::Up: {
      if (event.button != MouseButton::Left || capture_ == nullptr) break;
      Control* captured = capture_;
      capture_ = nullptr;
      if (host_ != nullptr) host_->CaptureMouse(false);
      ui.type = UiEventType::ButtonUp;
      captured->DoEvent(ui);
      SetHover(MouseTarget(event.position));
      break;
    }
    case MouseAction::Wheel: {
      HideToolTip();
      ui.type = UiEventType::Wheel;
      ui.wheelDelta = event.wheelDelta;
      for (Control* c = FindControlAt(event.position); c != nullptr; c = c->GetParent()) {
        if (c->IsEnabled() && c->DoEvent(ui)) break;
      }
      break;
    }
    case MouseAction::Leave:
      if (capture_ == nullptr) SetHover(nullptr);
      HideToolTip();
      toolTipOwner_ = nullptr;
      break;
  }
}

void WindowTree::OnKey(const KeyEvent& event) {
  DispatchScope scope(*this);
  if (!event.down) return;
  if (focus_ != nullptr && !(focus_->IsShownInTree() && focus_->IsEnabled())) SetFocus(nullptr);
  if (event.key == kVkTab && !event.control && !event.alt) {
    focusVisible_ = true;
    MoveFocus(event.shift);
    return;
  }
  UiEvent ui;
  ui.type = UiEventType::KeyDown;
  ui.key = event.key;
  ui.shift = event.shift;
  ui.control = event.control;
  if (focus_ != nullptr && focus_->DoEvent(ui)) return;
  // As in a dialog: Enter that no focused control takes presses the default button.
  if (event.key == kVkReturn && !event.alt && !event.control && defaultButton_ != nullptr &&
      defaultButton_->IsShownInTree() && defaultButton_->IsEnabled()) {
    defaultButton_->DoEvent(ui);
  }
}

void WindowTree::OnText(const std::wstring& text) {
  DispatchScope scope(*this);
  if (focus_ == nullptr || !focus_->IsShownInTree() || !focus_->IsEnabled()) return;
  UiEvent ui;
  ui.type = UiEventType::Text;
  ui.text = text;
  focus_->DoEvent(ui);
}

void WindowTree::OnTimer(int hostTimerId) {
  DispatchScope scope(*this);
  auto it = timers_.find(hostTimerId);
  if (it == timers_.end()) return;
  const TimerSlot slot = it->second;
  if (slot.control == nullptr) {
    if (slot.id == kToolTipTimer) {
      KillTimer(nullptr, kToolTipTimer);
      if (toolTipOwner_ != nullptr) {
        toolTipShown_ = true;
        InvalidateAll();
      }
    }
    return;
  }
  UiEvent ui;
  ui.type = UiEventType::Timer;
  ui.timerId = slot.id;
  slot.control->DoEvent(ui);
}

void WindowTree::OnFocusChanged(bool focused) {
  windowFocused_ = focused;
  if (!focused) {
    HideToolTip();
    toolTipOwner_ = nullptr;
  }
  if (focus_ != nullptr) focus_->Invalidate();
}

void WindowTree::OnResize(Size clientSize) {
  if (clientSize == clientSize_) return;
  clientSize_ = clientSize;
  NeedLayout();
}

intptr_t WindowTree::HitTest(Point client) const {
  const Rect content = ContentRect();
  if (IsResizable()) {
    const Rect box = Rect{Scaled(attributes_.sizeBox.left), Scaled(attributes_.sizeBox.top),
                          Scaled(attributes_.sizeBox.right), Scaled(attributes_.sizeBox.bottom)};
    const Point inContent{client.x - content.left, client.y - content.top};
    if (int hit = ResizeBorderHit(inContent, Size{content.Width(), content.Height()}, box)) return hit;
  }
  const Rect& c = attributes_.caption;
  const Rect band{content.left + Scaled(c.left), content.top + Scaled(c.top), content.right - Scaled(c.right),
                  content.top + Scaled(c.bottom)};
  if (band.Contains(client) && MouseTarget(client) == nullptr) return kHtCaption;
  return kHtClient;
}

// ---- focus and hover ------------------------------------------------------------------

void WindowTree::SetFocus(Control* control) {
  if (control == focus_) return;
  Control* previous = focus_;
  focus_ = control;
  UiEvent ui;
  if (previous != nullptr) {
    ui.type = UiEventType::KillFocus;
    previous->DoEvent(ui);
    previous->Invalidate();
  }
  if (focus_ != nullptr && focus_ == control) {
    ui.type = UiEventType::SetFocus;
    focus_->DoEvent(ui);
    focus_->Invalidate();
    if (focus_ == control) RaiseAccessibilityEvent(*control, AccessibleEvent::FocusChanged);
  }
}

void WindowTree::SetHover(Control* control) {
  if (control == hover_) return;
  Control* previous = hover_;
  hover_ = control;
  UiEvent ui;
  ui.position = lastMouse_;
  if (previous != nullptr) {
    ui.type = UiEventType::MouseLeave;
    previous->DoEvent(ui);
  }
  if (hover_ != nullptr && hover_ == control) {
    ui.type = UiEventType::MouseEnter;
    hover_->DoEvent(ui);
  }
}

void WindowTree::MoveFocus(bool backwards) {
  std::vector<Control*> order;
  auto collect = [&](auto&& self, Control* control) -> void {
    if (!control->IsVisible()) return;
    if (control->IsFocusable() && control->IsEnabled()) order.push_back(control);
    if (control->TakesChildMouse()) return;
    for (int i = 0; i < control->GetChildCount(); ++i) self(self, control->GetChildAt(i));
  };
  if (root_) collect(collect, root_.get());
  if (order.empty()) return;
  auto it = std::find(order.begin(), order.end(), focus_);
  size_t index;
  if (it == order.end()) {
    index = backwards ? order.size() - 1 : 0;
  } else {
    const size_t at = static_cast<size_t>(it - order.begin());
    index = backwards ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
  }
  SetFocus(order[index]);
  order[index]->Invalidate();
}

void WindowTree::SetCaretRect(const Rect& caret) {
  if (host_ != nullptr) host_->SetCaretRect(caret);
}

// ---- painting and layout --------------------------------------------------------------

void WindowTree::Invalidate(const Rect& rect) {
  if (host_ == nullptr || rect.IsEmpty()) return;
  // Layout runs at the start of a paint; what it moves inside the painted area is drawn
  // by that same paint, so it need not ask for another.
  if (!painting_.IsEmpty() && rect.Intersect(painting_) == rect) return;
  host_->Invalidate(rect);
}

void WindowTree::InvalidateAll() {
  if (host_ != nullptr) host_->InvalidateAll();
}

void WindowTree::NeedLayout() {
  layoutNeeded_ = true;
  InvalidateAll();
}

void WindowTree::Layout() {
  layoutNeeded_ = false;
  if (root_) root_->SetPos(ContentRect());
}

Size WindowTree::MeasureText(std::wstring_view text, const FontSpec& font, int maxWidth, unsigned format) const {
  if (measuring_ != nullptr) return measuring_->MeasureText(text, font, maxWidth, format);
  // Before the first paint: a rough guess, wide characters counted double.
  int units = 0;
  for (wchar_t c : text) units += c >= 0x2E80 ? 2 : 1;
  return {units * font.size / 2, font.size * 5 / 4};
}

void WindowTree::Paint(Canvas& target, const Rect& dirty) {
  DispatchScope scope(*this);
  std::optional<HighContrastCanvas> highContrast;
  if (const std::optional<SystemColors> colors = ActiveHighContrast()) highContrast.emplace(target, *colors);
  Canvas& canvas = highContrast ? static_cast<Canvas&>(*highContrast) : target;
  measuring_ = &canvas;
  painting_ = dirty;
  if (layoutNeeded_) Layout();
  if (!initSent_ && root_) {
    initSent_ = true;
    SendNotify(root_.get(), L"windowinit");
    if (layoutNeeded_) Layout();
  }
  PaintShadow(canvas);
  const Rect content = ContentRect();
  canvas.PushClip(content.Intersect(dirty));
  canvas.FillRect(content.Intersect(dirty), attributes_.bkColor.value_or(theme::kBody));
  if (root_) root_->Paint(canvas, dirty);
  canvas.PopClip();
  PaintToolTip(canvas);
  measuring_ = nullptr;
  painting_ = {};
}

void WindowTree::PaintShadow(Canvas& canvas) {
  const int shadow = Scaled(attributes_.shadowSize);
  if (shadow <= 0) return;
  const Rect client{0, 0, clientSize_.cx, clientSize_.cy};
  LoadedImage image = ImageCache::Instance().Get(attributes_.shadowImage, scale_);
  if (image) {
    const Rect& corner = attributes_.shadowCorner;
    auto byVariant = [&](int units) { return units * image.variantScale / 100; };
    DrawNineSlice(canvas, *image.image,
                  {byVariant(corner.left), byVariant(corner.top), byVariant(corner.right), byVariant(corner.bottom)},
                  {Scaled(corner.left), Scaled(corner.top), Scaled(corner.right), Scaled(corner.bottom)}, client);
  } else {
    DrawSoftShadow(canvas, ContentRect(), shadow);
  }
}

// ---- tool tips ------------------------------------------------------------------------

Rect WindowTree::ToolTipRect(Canvas* canvas) const {
  if (toolTipOwner_ == nullptr) return {};
  const std::wstring text = toolTipOwner_->GetToolTip();
  const FontSpec font = GetFont(-1);
  const int pad = Scaled(6);
  const Size size = canvas != nullptr ? canvas->MeasureText(text, font, Scaled(320), kTextWordBreak)
                                      : MeasureText(text, font, Scaled(320), kTextWordBreak);
  Rect box{toolTipAt_.x, toolTipAt_.y + Scaled(20), toolTipAt_.x + size.cx + 2 * pad,
           toolTipAt_.y + Scaled(20) + size.cy + 2 * pad};
  const Rect content = ContentRect();
  if (box.right > content.right) box = box.Offset(content.right - box.right, 0);
  if (box.bottom > content.bottom) box = box.Offset(0, toolTipAt_.y - Scaled(4) - box.bottom);
  if (box.left < content.left) box = box.Offset(content.left - box.left, 0);
  return box;
}

void WindowTree::PaintToolTip(Canvas& canvas) {
  if (!toolTipShown_ || toolTipOwner_ == nullptr) return;
  const Rect box = ToolTipRect(&canvas);
  const int pad = Scaled(6);
  canvas.FillRoundRect(box, Scaled(theme::kCornerRadius), theme::kToolTip);
  canvas.DrawText(toolTipOwner_->GetToolTip(), box.Deflate({pad, pad, pad, pad}), GetFont(-1), theme::kToolTipText,
                  kTextWordBreak);
}

void WindowTree::HideToolTip() {
  KillTimer(nullptr, kToolTipTimer);
  if (toolTipShown_) {
    toolTipShown_ = false;
    InvalidateAll();
  }
}

// ---- timers ---------------------------------------------------------------------------

void WindowTree::SetTimer(Control* control, int id, int intervalMs) {
  for (auto& [hostId, slot] : timers_) {
    if (slot.control == control && slot.id == id) {
      slot.intervalMs = intervalMs;
      if (host_ != nullptr) host_->SetTimer(hostId, intervalMs);
      return;
    }
  }
  const int hostId = nextTimerId_++;
  timers_[hostId] = {control, id, intervalMs};
  if (host_ != nullptr) host_->SetTimer(hostId, intervalMs);
}

void WindowTree::KillTimer(Control* control, int id) {
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->second.control == control && it->second.id == id) {
      if (host_ != nullptr) host_->KillTimer(it->first);
      timers_.erase(it);
      return;
    }
  }
}

// ---- groups and lifetime --------------------------------------------------------------

void WindowTree::JoinGroup(const std::wstring& group, Control* option) {
  if (auto it = groupOf_.find(option); it != groupOf_.end()) {
    if (it->second.group == group) return;
    LeaveGroup(it->second.group, option);
  }
  const uint64_t order = nextGroupOrder_++;
  groups_[group].emplace(order, option);
  groupOf_.emplace(option, GroupSlot{group, order});
}

void WindowTree::LeaveGroup(const std::wstring& group, Control* option) {
  auto slot = groupOf_.find(option);
  if (slot == groupOf_.end() || slot->second.group != group) return;
  if (auto it = groups_.find(group); it != groups_.end()) {
    it->second.erase(slot->second.order);
    if (it->second.empty()) groups_.erase(it);
  }
  groupOf_.erase(slot);
}

std::vector<Control*> WindowTree::GroupMembers(const std::wstring& group) const {
  std::vector<Control*> members;
  if (auto it = groups_.find(group); it != groups_.end()) {
    members.reserve(it->second.size());
    for (const auto& [order, member] : it->second) members.push_back(member);
  }
  return members;
}

void WindowTree::ForgetControl(Control* control) {
  // Listeners may read only the id here: the control may be half destroyed.
  if (!accessibilityListeners_.empty()) RaiseAccessibilityEvent(*control, AccessibleEvent::Destroyed);
  if (focus_ == control) focus_ = nullptr;
  if (defaultButton_ == control) defaultButton_ = nullptr;
  if (hover_ == control) hover_ = nullptr;
  if (capture_ == control) {
    capture_ = nullptr;
    if (host_ != nullptr) host_->CaptureMouse(false);
  }
  if (toolTipOwner_ == control) {
    toolTipOwner_ = nullptr;
    HideToolTip();
  }
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (it->second.control == control) {
      if (host_ != nullptr) host_->KillTimer(it->first);
      it = timers_.erase(it);
    } else {
      ++it;
    }
  }
  if (auto slot = groupOf_.find(control); slot != groupOf_.end()) LeaveGroup(slot->second.group, control);
}

void WindowTree::ReleaseLater(std::unique_ptr<Control> control) {
  if (!control) return;
  if (dispatchDepth_ > 0) {
    released_.push_back(std::move(control));
  }
  // Otherwise it goes now, as the pointer leaves this function.
}

// ---- accessibility ----------------------------------------------------------------

void WindowTree::AddAccessibilityListener(AccessibilityListener* listener) {
  if (std::find(accessibilityListeners_.begin(), accessibilityListeners_.end(), listener) ==
      accessibilityListeners_.end()) {
    accessibilityListeners_.push_back(listener);
  }
}

void WindowTree::RemoveAccessibilityListener(AccessibilityListener* listener) {
  std::erase(accessibilityListeners_, listener);
}

bool WindowTree::DoAccessibleAction(uint32_t id) {
  DispatchScope scope(*this);
  Control* control = FindAccessible(*this, id);
  return control != nullptr && control->DoDefaultAction();
}

bool WindowTree::SetAccessibleValue(uint32_t id, const std::wstring& value) {
  DispatchScope scope(*this);
  Control* control = FindAccessible(*this, id);
  return control != nullptr && control->SetAccessibleValue(value);
}

void WindowTree::TextsReloaded() {
  InvalidateAll();
  NeedLayout();
  if (accessibilityListeners_.empty() || !root_) return;
  auto raise = [&](auto&& self, Control& control) -> void {
    if (control.IsResourceText() && IsInAccessibleTree(control)) {
      RaiseAccessibilityEvent(control, AccessibleEvent::NameChanged);
    }
    for (int i = 0; i < control.GetChildCount(); ++i) self(self, *control.GetChildAt(i));
  };
  raise(raise, *root_);
}

void WindowTree::RaiseAccessibilityEvent(Control& control, AccessibleEvent event) {
  // A listener may remove itself while it is told.
  const std::vector<AccessibilityListener*> listeners = accessibilityListeners_;
  for (AccessibilityListener* listener : listeners) {
    if (std::find(accessibilityListeners_.begin(), accessibilityListeners_.end(), listener) !=
        accessibilityListeners_.end()) {
      listener->OnAccessibilityEvent(control, event);
    }
  }
}

}  // namespace ui
