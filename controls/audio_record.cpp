#include "controls/audio_record.h"

#include <QPainter>
#include <algorithm>

#include "uilib/color_value.h"

namespace norvane::controls {

std::vector<QLine> AudioRecordLines(std::span<const std::int32_t> levels, const QRect& area) {
  std::vector<QLine> lines;
  if (area.isEmpty()) return lines;
  const std::int64_t height = area.height();
  for (std::size_t k = 0; k < levels.size() && 2 * std::int64_t(k) < area.width(); ++k) {
    // In 64 bits: a level from another program may be anything a 32-bit value holds.
    const std::int64_t drawn = std::clamp<std::int64_t>(std::int64_t{levels[k]} * height / CAudioRecordUI::kFullScale,
                                                        0, height);
    if (drawn == 0) continue;
    const int x = area.left() + 2 * int(k);
    lines.emplace_back(x, area.bottom() - int(drawn) + 1, x, area.bottom());
  }
  return lines;
}

CAudioRecordUI::CAudioRecordUI(QWidget* parent) : CLabelUI(parent) {
  for (std::size_t i = 0; i < 256; ++i) levels_[i] = std::int32_t(i);
}

void CAudioRecordUI::SetAttribute(const ui::CDuiString& name, const ui::CDuiString& value) {
  if (name != "linecolor") return;
  if (const std::optional<ui::DWORD> colour = ui::ParseColorValue(value)) {
    skinLineColour_ = *colour;
    update();
  }
}

void CAudioRecordUI::SetLevels(std::span<const std::int32_t> levels) {
  const std::size_t count = std::min(levels.size(), kLevels);
  std::copy_n(levels.begin(), count, levels_.begin());
  std::fill(levels_.begin() + std::ptrdiff_t(count), levels_.end(), 0);
  update();
}

void CAudioRecordUI::SetLineColour(ui::DWORD argb) {
  lineColour_ = argb;
  update();
}

void CAudioRecordUI::paintEvent(QPaintEvent* event) {
  CLabelUI::paintEvent(event);  // the background
  QPainter painter(this);
  painter.setPen(QPen(QColor::fromRgba(GetLineColour()), 1));
  const std::vector<QLine> lines = AudioRecordLines(levels_, contentsRect());
  painter.drawLines(lines.data(), int(lines.size()));
}

}  // namespace norvane::controls
