#pragma once
// CAudioRecordUI (skin class "AudioRecord"): the sound level graph. It holds 500 levels and draws one
// vertical line every second pixel from the bottom of its rectangle, as tall as the level's share of 8192
// (full scale fills the height), over its background. Whatever the levels, nothing is drawn outside the
// rectangle: a level at or below 0 draws no line, one above full scale a full-height line.
//
// It starts with a ramp (level i = i for the first 256) so that an unfed graph shows what it is. The skin
// may give the lines' colour ("linecolor"); without one they are black. The program may draw them in a
// colour of its own instead.

#include <QLine>
#include <QRect>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "uilib/button.h"

namespace norvane::controls {

// The lines of a graph of `levels` in `area`: one per level k while 2k is inside the width, at x = left +
// 2k, from the level's height down to the bottom row, each within `area`. Levels at or below 0 have none.
[[nodiscard]] std::vector<QLine> AudioRecordLines(std::span<const std::int32_t> levels, const QRect& area);

class CAudioRecordUI : public ui::CLabelUI {
 public:
  static constexpr const char* kClassName = "AudioRecord";
  static constexpr std::size_t kLevels = 500;
  static constexpr std::int32_t kFullScale = 8192;

  explicit CAudioRecordUI(QWidget* parent = nullptr);

  void SetAttribute(const ui::CDuiString& name, const ui::CDuiString& value) override;

  // The levels to draw; beyond 500 are cut, missing ones are 0.
  void SetLevels(std::span<const std::int32_t> levels);
  std::span<const std::int32_t, kLevels> Levels() const { return levels_; }
  // The lines' colour (0xAARRGGBB); 0: the skin's.
  void SetLineColour(ui::DWORD argb);
  ui::DWORD GetLineColour() const { return lineColour_ != 0 ? lineColour_ : skinLineColour_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::array<std::int32_t, kLevels> levels_{};
  ui::DWORD skinLineColour_ = 0xFF000000u;
  ui::DWORD lineColour_ = 0;
};

}  // namespace norvane::controls
