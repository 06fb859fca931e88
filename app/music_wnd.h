#pragma once
// CMusicWnd: the audio style window ("music.xml"), opened by "music_setting_btn" of the lighting editor's
// audio panel. It edits a copy of the audio style: the group chosen with "audio_select_tab1" to "..4", that
// group's red, green and blue on the sliders (levels 0 to 9), and the four group names; "okbtn" ends it with
// 1 (the window keeps the style), its close button with 0.

#include "app/audio_style.h"
#include "uilib/window_handle.h"
#include "uilib/window_impl_base.h"

namespace norvane::app {

class CMusicWnd : public ui::WindowImplBase {
 public:
  static constexpr int kWidth = 369;
  static constexpr int kHeight = 276;

  ui::CDuiString GetWindowClassName() const override { return "MusicWnd"; }
  ui::CDuiString GetSkinFile() const override { return "music.xml"; }
  void InitWindow() override;
  void Notify(ui::TNotifyUI& msg) override;
  ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam, bool& handled) override;

  void SetStyle(const AudioStyle& style) { style_ = style; }
  const AudioStyle& GetStyle() const { return style_; }
  // 48, 72, 96, 120, 144, 168 or 192; anything else is traced and taken as 96.
  void SetDpi(int dpi);
  int GetDpi() const { return dpi_; }
  // The first selected group option (0 to 3); 0 when none is. Both need their controls: a missing one (a
  // fault of the skin) is traced.
  int CurrentGroup() const;
  void ShowGroupColour(int red, int green, int blue);

  // Runs the window over `parent`, centred and modal; its close code (1 OK, 0 closed, -1 not created).
  // `style` is shown and, with 1, holds what the user set.
  static int Open(ui::CWindowWnd* parent, int dpi, AudioStyle& style);
  // The open audio style window, for the main window's close-all and language-switch messages (WM_CLOSE,
  // 3089); an empty handle when none is open.
  static ui::WindowHandle Current();

 private:
  AudioStyle style_;
  int dpi_ = 96;
};

}  // namespace norvane::app
