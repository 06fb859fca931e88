#pragma once
// CColorSelectWnd: the modal colour chooser (skin "PalletDialog.xml"). The palette, the red, green and blue
// fields and the twenty preset swatches all set one current colour, which the preview shows; the twenty
// favourite slots keep colours across runs: select a slot, and the next colour picked is stored in it.
// Presets, favourites and the item selected in each row live in the swatch file (profiles/swatch_file.h).
//
// The modal run ends with kColorChosen ("okbtn"), kColorClosed (the close and cancel buttons, the window
// manager's close) or kColorChosenWithoutPalette ("okbtn" in a skin that has no palette).

#include <QObject>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "profiles/swatch_file.h"
#include "uilib/window_impl_base.h"

namespace norvane::ui {
class CColorPaletteUI;
class CEditUI;
class COptionUI;
}  // namespace norvane::ui

namespace norvane::controls {

inline constexpr int kColorClosed = 0;
inline constexpr int kColorChosen = 1;
inline constexpr int kColorChosenWithoutPalette = 2;

// The number the main window sends its open child windows after a language switch.
inline constexpr ui::UINT kColorSelectLanguageChanged = 3089;

// Shown in the preview while the colour cycle is chosen.
inline constexpr const char* kSevenColorImage = "common/base1.png";

class CColorSelectWnd : public ui::WindowImplBase {
 public:
  // `file` holds the swatches; the user's own file unless a test names another.
  explicit CColorSelectWnd(swatches::SwatchFile file = swatches::SwatchFile::ForCurrentUser());
  ~CColorSelectWnd() override;

  ui::CDuiString GetWindowClassName() const override { return "ColorSelectWnd"; }
  ui::CDuiString GetSkinFile() const override { return "PalletDialog.xml"; }
  void InitWindow() override;
  void Notify(ui::TNotifyUI& msg) override;
  void OnClick(ui::TNotifyUI& msg) override;
  ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam, bool& handled) override;

  // Takes `dpi` when it is a supported step, else 96 (with a trace). The same value again changes nothing.
  void SetWindowDpi(int dpi);
  [[nodiscard]] int GetWindowDpi() const { return dpi_; }

  // The current colour (0xAARRGGBB), shown in the preview, the palette and the three fields.
  void SetColor(std::uint32_t argb);
  [[nodiscard]] std::uint32_t GetColor() const { return color_; }
  // The colour cycle instead of one colour: "7color" follows without a notification, the preview shows the
  // cycle's image while it is set.
  void SetSevenColor(int flag);
  [[nodiscard]] int GetSevenColor() const { return sevenColor_; }
  // Offers the colour cycle or not; hiding it also unselects it.
  void ShowSevenColor(int flag);

  [[nodiscard]] int GetPresetIndex() const { return presetIndex_; }
  // -1 while no favourite slot is selected.
  [[nodiscard]] int GetFavouriteIndex() const { return favouriteIndex_; }

 private:
  void LoadSwatches();
  void OnSelectChanged(ui::TNotifyUI& msg);
  void OnChannelEdited();
  void OnPaletteChanged();
  // The current colour goes into the selected favourite slot (when one is selected) and the preview.
  void StoreIntoFavourite();
  void ShowChannels(std::uint32_t argb);
  void ShowInPalette(std::uint32_t argb);
  void SavePresets() const;
  void SaveFavourites() const;
  void SyncMaxRestoreButtons();
  void Retranslate();

  swatches::SwatchFile file_;
  // Controls of this window's skin (owned by its widgets); null when the skin lacks them.
  ui::CControlUI* closeButton_ = nullptr;
  ui::CControlUI* maxButton_ = nullptr;
  ui::CControlUI* restoreButton_ = nullptr;
  ui::CControlUI* minButton_ = nullptr;
  ui::CControlUI* menuButton_ = nullptr;
  ui::CControlUI* laterButton_ = nullptr;
  ui::CColorPaletteUI* palette_ = nullptr;
  ui::CControlUI* preview_ = nullptr;
  std::array<ui::CEditUI*, 3> channels_{};  // red, green, blue
  ui::COptionUI* sevenColorOption_ = nullptr;
  ui::CControlUI* sevenColorLayout_ = nullptr;
  std::array<ui::COptionUI*, swatches::kSlotCount> presets_{};
  std::array<ui::COptionUI*, swatches::kSlotCount> favourites_{};
  // Goes before the window's widgets do, so that it never calls into a window being destroyed.
  std::unique_ptr<QObject> stateWatcher_;

  int dpi_ = ui::kDefaultDpi;
  std::uint32_t color_ = 0xFFFFFFFF;
  int presetIndex_ = 4;
  int favouriteIndex_ = 0;
  int sevenColor_ = 0;
};

// Asks for a colour over `parent` (may be null) at the parent's `dpi`, starting from `initial`; the chosen
// colour, or nothing when the user closed the chooser. Runs a modal loop: call it from a posted task or a
// click handler of a widget that outlives the call, never inside a signal of a widget the loop's events
// may delete (post the call first), or that widget's destruction runs under its own signal.
[[nodiscard]] std::optional<std::uint32_t> ChooseColour(ui::CWindowWnd* parent, int dpi,
                                                        std::uint32_t initial);

}  // namespace norvane::controls
