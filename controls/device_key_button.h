#pragma once
// CDeviceKeyButtonUI (skin class "DeviceKeyButton"): one key of a device picture. A push button that can draw
// the key's current lighting colour over itself and a key-set or key-unset mark. A click raises "click" and a
// double click on an enabled key "dbclick", like every button of the library (the double click presses the
// button, which repaints it). The device pages set its colour from each presented frame.
//
// Drawing. The key keeps what it draws as cached pictures: its face as the style draws it (with and without
// the caption), the tinted light overlay, and a top layer with the caption over the light, the marks and the
// selection frame. They are drawn again only when what they show changes (size, state, caption, marks,
// images); a new light colour only re-tints the overlay. A key inside a key picture (CSelectPanelUI) does not
// paint itself at all: the picture draws all its keys in one pass with PaintKey, and whatever would repaint
// the key repaints its place in the picture instead.

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <cstdint>

#include "controls/key_light_composite.h"
#include "controls/key_light_tint.h"
#include "uilib/button.h"

class QPaintEvent;
class QPainter;

namespace norvane::controls {

// The one colour layout the key buttons take: red in the low byte, blue in the second, green in the third.
[[nodiscard]] constexpr std::uint32_t PackKeyLight(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return std::uint32_t{red} | std::uint32_t{blue} << 8 | std::uint32_t{green} << 16;
}

// The colour a packed light stands for; the top byte is not part of it.
[[nodiscard]] QColor DecodeKeyLight(std::uint32_t packed);

class CSelectPanelUI;

class CDeviceKeyButtonUI : public ui::CButtonUI {
 public:
  static constexpr const char* kClassName = "DeviceKeyButton";

  explicit CDeviceKeyButtonUI(QWidget* parent = nullptr);

  // "lightimage", "keysetimage", "keyunsetimage" (images in the skin folder) and "gmnametextcolor" (a colour
  // the skins carry for a caption this button does not draw: accepted, without effect).
  void SetAttribute(const ui::CDuiString& name, const ui::CDuiString& value) override;

  // Each image change repaints.
  void SetLightImage(const ui::CDuiString& image);
  void SetKeySetImage(const ui::CDuiString& image);
  void SetKeyUnsetImage(const ui::CDuiString& image);
  [[nodiscard]] const ui::CDuiString& GetLightImage() const { return lightImage_; }
  [[nodiscard]] const ui::CDuiString& GetKeySetImage() const { return keySetImage_; }
  [[nodiscard]] const ui::CDuiString& GetKeyUnsetImage() const { return keyUnsetImage_; }

  // The marks are shown while their flag is 0. These and the device mark (a value the device keeps on the
  // button, not drawn) repaint only when the value changes.
  void SetKeySetMarkHidden(std::uint32_t hidden);
  void SetKeyUnsetMarkHidden(std::uint32_t hidden);
  void SetDeviceMark(std::uint32_t mark);
  [[nodiscard]] std::uint32_t GetKeySetMarkHidden() const { return keySetMarkHidden_; }
  [[nodiscard]] std::uint32_t GetKeyUnsetMarkHidden() const { return keyUnsetMarkHidden_; }
  [[nodiscard]] std::uint32_t GetDeviceMark() const { return deviceMark_; }

  // The light overlay: its colour (PackKeyLight's layout), its level (0..255, scales the colour) and whether
  // it shows. A page sets every light button of a frame and repaints them itself, so this does not repaint.
  void SetLightOverlay(std::uint32_t colour, int level, bool on);
  [[nodiscard]] std::uint32_t GetLightColour() const { return lightColour_; }
  [[nodiscard]] int GetLightLevel() const { return lightLevel_; }
  [[nodiscard]] bool IsLightOverlayOn() const { return lightOverlayOn_; }

  // 1 while the button lies inside the last drag selection. Whoever changes it repaints.
  void SetSelectionState(int state);
  [[nodiscard]] int GetSelectionState() const { return selectionState_; }

  // Repaints the key: in its picture when a picture draws it, else itself.
  void Invalidate() override;
  void SetText(const ui::CDuiString& text) override;

  // Draws the whole key (face, light, caption, marks, selection) with its top left corner at `at`.
  void PaintKey(QPainter& painter, QPoint at);
  // The picture that draws this key from now on (null: the key paints itself again). Set by the picture.
  void SetDrawnBy(CSelectPanelUI* picture);
  [[nodiscard]] bool IsDrawnByPicture() const { return !picture_.isNull(); }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // What the cached pictures were drawn for; any difference draws them again.
  struct LookKey {
    QSize size;
    qreal dpr = 0;
    int state = 0;
    QString text;
    QFont font;
    std::uint64_t generation = 0;
  };
  enum class Caption { kNone, kDark, kLight };

  // Something the key shows changed: the cached pictures go and the key is repainted.
  void LookChanged();
  void Repaint();
  void Refresh(qreal dpr);
  const QPixmap& Face(bool withCaption);
  const QPixmap& Top(Caption caption);
  QPixmap RenderFace(bool withCaption);
  QPixmap RenderTop(Caption caption);
  QImage LightShape();

  ui::CDuiString lightImage_;
  ui::CDuiString keySetImage_;
  ui::CDuiString keyUnsetImage_;
  std::uint32_t keySetMarkHidden_ = 1;
  std::uint32_t keyUnsetMarkHidden_ = 1;
  std::uint32_t deviceMark_ = 0;
  bool lightOverlayOn_ = false;
  std::uint32_t lightColour_ = 255;
  int lightLevel_ = 200;
  int selectionState_ = 0;

  QPointer<CSelectPanelUI> picture_;
  std::uint64_t generation_ = 0;
  LookKey look_;
  // Set by every event, text and check change; Refresh gathers the button's state only when it is set.
  bool stateMayHaveChanged_ = true;
  QPixmap faceWithCaption_;
  QPixmap faceWithoutCaption_;
  QPixmap top_[3];
  bool topBuilt_[3] = {false, false, false};
  QImage lightShape_;
  bool lightShapeLoaded_ = false;
  KeyLightTint tint_;
  KeyLightComposite lit_[2];  // lit with the dark caption, with the light one
};

}  // namespace norvane::controls
