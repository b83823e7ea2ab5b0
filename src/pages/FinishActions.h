#pragma once
// The finish page without its windows: which check boxes it offers for a finish task, where
// they go on the page, and what Finish does with the ones left ticked.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/session/SetupSession.h"
#include "project/Task.h"

namespace tarn::pages {

// Control ID of the restart check box.
constexpr std::int32_t kRestartCheckBoxId = 999;

struct FinishCheckBox {
  std::string text;
  std::int32_t id = 0;

  bool operator==(const FinishCheckBox& o) const { return text == o.text && id == o.id; }
};

// The check boxes for `finishTask`, in page order: the restart box for the restart task,
// otherwise one box per program to open; then one per shortcut offered on the finish page.
std::vector<FinishCheckBox> FinishCheckBoxes(const engine::SetupSession& s,
                                             const project::Task& finishTask);

// Pixel figures of the check-box layout for a display density.
struct FinishLayoutMetrics {
  std::int32_t margin = 18;
  std::int32_t charWidth = 6;
  std::int32_t lineHeight = 14;
  std::int32_t gap = 4;

  bool operator==(const FinishLayoutMetrics& o) const {
    return margin == o.margin && charWidth == o.charWidth && lineHeight == o.lineHeight &&
           gap == o.gap;
  }
};

FinishLayoutMetrics FinishLayoutForDpi(std::int32_t logPixelsY);

struct BoxRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  bool operator==(const BoxRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// One rectangle per box in a client area of `width` × `height`: the boxes stacked as a block
// centred on the page, its left edge set by the longest text. A block larger than the page
// starts at its top-left corner rather than off the page.
std::vector<BoxRect> LayoutFinishCheckBoxes(const std::vector<FinishCheckBox>& boxes,
                                            std::int32_t width, std::int32_t height,
                                            const FinishLayoutMetrics& metrics);

// What Finish does for `finishTask`, asking `isTicked` about check boxes by control ID: the
// restart (after the clean-up), or the chosen shortcuts and then the chosen programs.
void RunFinishActions(engine::SetupSession& s, const project::Task& finishTask,
                      const std::function<bool(std::int32_t)>& isTicked);

}  // namespace tarn::pages
