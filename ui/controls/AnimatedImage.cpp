#include "ui/controls/AnimatedImage.h"

#include <algorithm>

#include "ui/core/AttributeParsing.h"
#include "ui/core/ImageCache.h"
#include "ui/core/WindowTree.h"

namespace ui {

namespace {
constexpr int kFrameTimer = 1;
// Frames without a delay, or with one too short to see, play at this pace, as browsers do.
constexpr int kDefaultDelayMs = 100;
constexpr int kShortestDelayMs = 20;
}  // namespace

void AnimatedImage::SetImage(std::wstring name) {
  image_ = std::move(name);
  frame_ = 0;
  Invalidate();
}

void AnimatedImage::Play() {
  if (playing_) return;
  playing_ = true;
  ScheduleNextFrame();
}

void AnimatedImage::Stop() {
  playing_ = false;
  frame_ = 0;
  if (WindowTree* tree = GetTree()) tree->KillTimer(this, kFrameTimer);
  Invalidate();
}

void AnimatedImage::OnAttached() {
  if (autoPlay_ || playing_) {
    playing_ = false;
    Play();
  }
}

void AnimatedImage::ScheduleNextFrame() {
  WindowTree* tree = GetTree();
  if (tree == nullptr || !playing_) return;
  LoadedImage loaded = ImageCache::Instance().Get(image_, tree->Scale());
  if (!loaded || !loaded.image->IsAnimated()) {
    tree->KillTimer(this, kFrameTimer);
    return;
  }
  int delay = loaded.image->frames[std::min<size_t>(frame_, loaded.image->frames.size() - 1)].delayMs;
  if (delay < kShortestDelayMs) delay = kDefaultDelayMs;
  tree->SetTimer(this, kFrameTimer, delay);
}

AttributeResult AnimatedImage::ApplyAttribute(std::wstring_view name, std::wstring_view value) {
  if (NameEquals(name, L"image")) {
    SetImage(std::wstring(value));
    return AttributeResult::Applied;
  }
  if (NameEquals(name, L"autoplay")) {
    auto flag = ParseBool(value);
    if (!flag) return AttributeResult::BadValue;
    autoPlay_ = *flag;
    if (autoPlay_) Play();
    return AttributeResult::Applied;
  }
  return Control::ApplyAttribute(name, value);
}

bool AnimatedImage::DoEvent(UiEvent& event) {
  if (event.type != UiEventType::Timer || event.timerId != kFrameTimer) return false;
  LoadedImage loaded = GetTree() != nullptr ? ImageCache::Instance().Get(image_, GetTree()->Scale()) : LoadedImage{};
  if (!playing_ || !loaded) return true;
  frame_ = (frame_ + 1) % static_cast<int>(loaded.image->frames.size());
  ScheduleNextFrame();
  if (IsShownInTree()) Invalidate();
  return true;
}

void AnimatedImage::PaintContent(Canvas& canvas, const Rect&) {
  if (GetTree() == nullptr) return;
  LoadedImage loaded = ImageCache::Instance().Get(image_, GetTree()->Scale());
  if (!loaded) return;
  const Image& image = *loaded.image;
  // Pixels made for the display scale show one to one; the plain file is scaled up.
  int width = image.width * ScalePercent() / loaded.variantScale;
  int height = image.height * ScalePercent() / loaded.variantScale;
  if (width > rect_.Width() || height > rect_.Height()) {
    const double fit =
        std::min(static_cast<double>(rect_.Width()) / width, static_cast<double>(rect_.Height()) / height);
    width = static_cast<int>(width * fit);
    height = static_cast<int>(height * fit);
  }
  const int left = rect_.left + (rect_.Width() - width) / 2;
  const int top = rect_.top + (rect_.Height() - height) / 2;
  canvas.DrawImage(image, frame_, {0, 0, image.width, image.height}, {left, top, left + width, top + height});
}

}  // namespace ui
