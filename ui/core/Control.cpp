#include "ui/core/Control.h"

#include <algorithm>

#include "base/WideText.h"
#include "ui/core/AttributeParsing.h"
#include "ui/core/Drawing.h"
#include "ui/core/ImageCache.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/WindowTree.h"

namespace ui {

namespace {
uint32_t NextAccessibleId() {
  static uint32_t next = 0;  // UI thread only
  return ++next;
}
}  // namespace

Control::Control() : accessibleId_(NextAccessibleId()) {}

Control::~Control() {
  if (tree_ != nullptr) tree_->ForgetControl(this);
}

std::wstring Control::GetText() const {
  return resourceText_ ? ResourceManager::Instance().GetText(text_) : text_;
}

void Control::SetText(std::wstring text) {
  if (text == text_) return;
  const bool wasInTree = GetAccessibleRole() != AccessibleRole::None;
  text_ = std::move(text);
  Invalidate();
  RaiseTextChanged();
  // A text of its own or none brings a label into the tree or takes it out.
  if (wasInTree != (GetAccessibleRole() != AccessibleRole::None) && parent_ != nullptr) {
    parent_->RaiseAccessibilityEvent(AccessibleEvent::ChildrenChanged);
  }
}

void Control::RaiseTextChanged() {
  if (accessibleName_.empty()) RaiseAccessibilityEvent(AccessibleEvent::NameChanged);
}

std::wstring Control::GetToolTip() const {
  return resourceText_ && !tooltip_.empty() ? ResourceManager::Instance().GetText(tooltip_) : tooltip_;
}

void Control::SetResourceText(bool on) {
  resourceText_ = on;
  Invalidate();
}

std::wstring Control::GetVirtualWnd() const {
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (!c->virtualWnd_.empty()) return c->virtualWnd_;
  }
  return {};
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  NeedUpdate();
  if (parent_ != nullptr) parent_->RaiseAccessibilityEvent(AccessibleEvent::ChildrenChanged);
}

bool Control::IsShownInTree() const {
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (!c->IsVisible()) return false;
  }
  return true;
}

void Control::SetInternVisible(bool visible) {
  if (internVisible_ == visible) return;
  internVisible_ = visible;
  NeedUpdate();
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Invalidate();
  RaiseAccessibilityEvent(AccessibleEvent::StateChanged);
}

bool Control::IsFocused() const {
  return tree_ != nullptr && tree_->GetFocus() == this;
}

void Control::SetFocus() {
  if (tree_ != nullptr && IsFocusable()) tree_->SetFocus(this);
}

void Control::SetFixedWidth(int width) {
  fixedWidth_ = std::max(0, width);
  NeedUpdate();
}

void Control::SetFixedHeight(int height) {
  fixedHeight_ = std::max(0, height);
  NeedUpdate();
}

void Control::SetMinMax(Size minSize, Size maxSize) {
  minSize_ = minSize;
  maxSize_ = maxSize;
  NeedUpdate();
}

void Control::SetPadding(const Rect& padding) {
  padding_ = padding;
  NeedUpdate();
}

void Control::SetFont(int fontId) {
  fontId_ = fontId;
  NeedUpdate();
}

void Control::SetBkColor(Argb color) {
  bkColor_ = color;
  Invalidate();
}

bool Control::SetAttribute(std::wstring_view name, std::wstring_view value) {
  const AttributeResult result = ApplyAttribute(name, value);
  if (result == AttributeResult::Applied) return true;
  const std::string where = "SetAttribute on \"" + WideToUtf8(name_) + "\"";
  ReportSkinProblem(where, result == AttributeResult::Unknown
                               ? "unknown attribute \"" + WideToUtf8(name) + "\""
                               : "bad value \"" + WideToUtf8(value) + "\" for \"" + WideToUtf8(name) + "\"");
  return false;
}

bool Control::ApplyStyle(std::wstring_view styleName) {
  if (tree_ == nullptr) {
    pendingStyle_ = std::wstring(styleName);  // applied when it joins a window
    return true;
  }
  const std::wstring* style = tree_->FindStyle(styleName);
  const std::string where = "style \"" + WideToUtf8(styleName) + "\"";
  if (style == nullptr) {
    ReportSkinProblem(where, "no such style");
    return false;
  }
  auto list = ParseAttributeList(*style);
  if (!list) {
    ReportSkinProblem(where, "the value is not a list of attributes");
    return false;
  }
  for (const auto& [name, value] : *list) {
    const AttributeResult result = ApplyAttribute(name, value);
    if (result == AttributeResult::Unknown) ReportSkinProblem(where, "unknown attribute \"" + WideToUtf8(name) + "\"");
    if (result == AttributeResult::BadValue) {
      ReportSkinProblem(where, "bad value \"" + WideToUtf8(value) + "\" for \"" + WideToUtf8(name) + "\"");
    }
  }
  return true;
}

AttributeResult Control::ApplyAttribute(std::wstring_view name, std::wstring_view value) {
  auto is = [&](std::wstring_view wanted) { return NameEquals(name, wanted); };
  auto applyInt = [&](auto&& apply) {
    auto number = ParseInt(value);
    if (!number) return AttributeResult::BadValue;
    apply(*number);
    return AttributeResult::Applied;
  };
  auto applyBool = [&](auto&& apply) {
    auto flag = ParseBool(value);
    if (!flag) return AttributeResult::BadValue;
    apply(*flag);
    return AttributeResult::Applied;
  };
  auto applyColor = [&](std::optional<Argb>& target) {
    auto color = ParseColor(value);
    if (!color) return AttributeResult::BadValue;
    target = *color;
    Invalidate();
    return AttributeResult::Applied;
  };

  if (is(L"accname")) {
    accessibleName_ = std::wstring(value);
    return AttributeResult::Applied;
  }
  if (is(L"name")) {
    name_ = std::wstring(value);
    return AttributeResult::Applied;
  }
  if (is(L"text")) {
    SetText(std::wstring(value));
    return AttributeResult::Applied;
  }
  if (is(L"tooltip")) {
    tooltip_ = std::wstring(value);
    return AttributeResult::Applied;
  }
  if (is(L"userdata")) {
    userData_ = std::wstring(value);
    return AttributeResult::Applied;
  }
  if (is(L"virtualwnd")) {
    virtualWnd_ = std::wstring(value);
    return AttributeResult::Applied;
  }
  if (is(L"resourcetext")) return applyBool([&](bool on) { SetResourceText(on); });
  if (is(L"visible")) return applyBool([&](bool on) { SetVisible(on); });
  if (is(L"enabled")) return applyBool([&](bool on) { SetEnabled(on); });
  if (is(L"width")) return applyInt([&](int v) { SetFixedWidth(v); });
  if (is(L"height")) return applyInt([&](int v) { SetFixedHeight(v); });
  if (is(L"minwidth")) return applyInt([&](int v) { SetMinMax({v, minSize_.cy}, maxSize_); });
  if (is(L"minheight")) return applyInt([&](int v) { SetMinMax({minSize_.cx, v}, maxSize_); });
  if (is(L"maxwidth")) return applyInt([&](int v) { SetMinMax(minSize_, {v, maxSize_.cy}); });
  if (is(L"maxheight")) return applyInt([&](int v) { SetMinMax(minSize_, {maxSize_.cx, v}); });
  if (is(L"font")) return applyInt([&](int v) { SetFont(v); });
  if (is(L"bordersize"))
    return applyInt([&](int v) {
      borderSize_ = std::max(0, v);
      Invalidate();
    });
  if (is(L"borderround"))
    return applyInt([&](int v) {
      borderRound_ = std::max(0, v);
      Invalidate();
    });
  if (is(L"bkcolor")) return applyColor(bkColor_);
  if (is(L"bordercolor")) return applyColor(borderColor_);
  if (is(L"padding")) {
    auto rect = ParseRect(value);
    if (!rect) return AttributeResult::BadValue;
    SetPadding(*rect);
    return AttributeResult::Applied;
  }
  if (is(L"bkimage")) {
    bkImage_ = std::wstring(value);
    Invalidate();
    return AttributeResult::Applied;
  }
  if (is(L"style")) {
    ApplyStyle(value);
    return AttributeResult::Applied;
  }
  return AttributeResult::Unknown;
}

Control* Control::FindSubControl(std::wstring_view name) {
  if (name_ == name) return this;
  for (int i = 0; i < GetChildCount(); ++i) {
    if (Control* found = GetChildAt(i)->FindSubControl(name)) return found;
  }
  return nullptr;
}

Control* Control::FindControlAt(Point point) {
  if (!IsVisible() || !rect_.Contains(point)) return nullptr;
  return this;
}

void Control::Invalidate() {
  if (tree_ != nullptr && IsVisible()) tree_->Invalidate(rect_);
}

void Control::NeedUpdate() {
  if (tree_ != nullptr) tree_->NeedLayout();
}

Size Control::EstimateSize(Size) {
  return {Scaled(fixedWidth_), Scaled(fixedHeight_)};
}

void Control::SetPos(const Rect& rect) {
  if (rect_ == rect) return;
  if (tree_ != nullptr && IsVisible()) {
    tree_->Invalidate(rect_);
    tree_->Invalidate(rect);
  }
  rect_ = rect;
}

void Control::Paint(Canvas& canvas, const Rect& dirty) {
  if (!IsVisible() || rect_.IsEmpty() || rect_.Intersect(dirty).IsEmpty()) return;
  PaintBackground(canvas);
  PaintContent(canvas, dirty);
  PaintBorder(canvas);
}

void Control::PaintBackground(Canvas& canvas) {
  if (bkColor_) {
    if (borderRound_ > 0) {
      canvas.FillRoundRect(rect_, Scaled(borderRound_), *bkColor_);
    } else {
      canvas.FillRect(rect_, *bkColor_);
    }
  }
  if (!bkImage_.empty()) DrawSkinImage(canvas, bkImage_, ScalePercent(), rect_);
}

void Control::PaintContent(Canvas&, const Rect&) {}

void Control::PaintBorder(Canvas& canvas) {
  if (borderSize_ <= 0 || !borderColor_) return;
  canvas.DrawRoundRect(rect_, Scaled(borderRound_), *borderColor_, std::max(1, Scaled(borderSize_)));
}

bool Control::DoEvent(UiEvent&) {
  return false;
}

void Control::AttachTree(WindowTree* tree) {
  if (tree_ == tree) return;
  if (tree_ != nullptr) {
    OnDetaching();
    tree_->ForgetControl(this);
  }
  tree_ = tree;
  if (tree_ != nullptr) {
    if (!pendingStyle_.empty()) {
      const std::wstring style = std::move(pendingStyle_);
      pendingStyle_.clear();
      ApplyStyle(style);
    }
    OnAttached();
  }
  for (int i = 0; i < GetChildCount(); ++i) GetChildAt(i)->AttachTree(tree);
}

int Control::ScalePercent() const {
  return tree_ != nullptr ? tree_->Scale() : 100;
}

int Control::Scaled(int units) const {
  return tree_ != nullptr ? tree_->Scaled(units) : units;
}

Rect Control::Scaled(const Rect& units) const {
  return {Scaled(units.left), Scaled(units.top), Scaled(units.right), Scaled(units.bottom)};
}

FontSpec Control::Font() const {
  if (tree_ != nullptr) return tree_->GetFont(fontId_);
  return FontSpec{L"宋体", 14};
}

Size Control::ClampSize(Size size) const {
  if (minSize_.cx > 0) size.cx = std::max(size.cx, Scaled(minSize_.cx));
  if (minSize_.cy > 0) size.cy = std::max(size.cy, Scaled(minSize_.cy));
  if (maxSize_.cx > 0) size.cx = std::min(size.cx, Scaled(maxSize_.cx));
  if (maxSize_.cy > 0) size.cy = std::min(size.cy, Scaled(maxSize_.cy));
  return size;
}

void Control::Notify(std::wstring_view type, uintptr_t wParam, intptr_t lParam) {
  if (tree_ != nullptr) tree_->SendNotify(this, type, wParam, lParam);
}

AttributeResult Control::ApplyColor(std::wstring_view value, std::optional<Argb>& target) {
  auto parsed = ParseColor(value);
  if (!parsed) return AttributeResult::BadValue;
  target = *parsed;
  Invalidate();
  return AttributeResult::Applied;
}

// ---- accessibility ----------------------------------------------------------------

AccessibleRole Control::GetAccessibleRole() const {
  if (tree_ != nullptr && tree_->GetRoot() == this) return AccessibleRole::Window;
  if (accessibleRole_) return *accessibleRole_;
  if (GetChildCount() > 0 || GetText().empty()) return AccessibleRole::None;
  return AccessibleRole::StaticText;
}

void Control::SetAccessibleName(std::wstring name) {
  if (name == accessibleName_) return;
  accessibleName_ = std::move(name);
  RaiseAccessibilityEvent(AccessibleEvent::NameChanged);
}

std::wstring Control::GetAccessibleName() const {
  const bool root = tree_ != nullptr && tree_->GetRoot() == this;
  if (root && tree_->Host() != nullptr && !tree_->Host()->Title().empty()) return tree_->Host()->Title();
  if (!accessibleName_.empty()) {
    return ResourceManager::Instance().GetText(accessibleName_);
  }
  std::wstring text = GetText();
  if (!text.empty()) return text;
  // A tab page, or a window without a title, is named by the text it starts with.
  if (root || accessibleRole_ == AccessibleRole::TabPage) {
    const std::vector<Control*> children = AccessibleChildren(*this);
    if (!children.empty() && children.front()->GetAccessibleRole() == AccessibleRole::StaticText) {
      return children.front()->GetAccessibleName();
    }
  }
  return GetToolTip();
}

uint32_t Control::GetAccessibleStates() const {
  uint32_t states = 0;
  if (IsFocusable() && IsEnabled()) states |= kAccFocusable;
  if (IsFocused()) states |= kAccFocused;
  if (!IsEnabled()) states |= kAccDisabled;
  // Scrolled out of a list or a pane: shown, yet nothing of it is on the screen.
  bool offScreen = rect_.IsEmpty();
  for (const Control* c = parent_; c != nullptr && !offScreen; c = c->parent_) {
    offScreen = rect_.Intersect(c->GetPos()).IsEmpty();
  }
  if (offScreen) states |= kAccInvisible;
  return states;
}

void Control::RaiseAccessibilityEvent(AccessibleEvent event) {
  if (tree_ == nullptr || !tree_->HasAccessibilityListeners()) return;
  Control* target = this;
  if (event == AccessibleEvent::ChildrenChanged && GetAccessibleRole() == AccessibleRole::None) {
    target = AccessibleParent(*this);
    if (target == nullptr) target = this;
  }
  // What assistive technology cannot see does not concern it (a hidden page, the parts of
  // a list row).
  if (!IsInAccessibleTree(*target)) return;
  tree_->RaiseAccessibilityEvent(*target, event);
}

}  // namespace ui
