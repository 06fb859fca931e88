#pragma once
// CSkinFrame: the skin chooser that drops down below the main window's "skinbtn". A click on a background
// image or colour tells the main window at once (SkinChangedObserver); image choices and the reset are also
// recorded in "main.ini". The chooser closes itself when it loses focus and frees itself when it is gone.

#include <QRect>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/skin_changed.h"
#include "uilib/window_impl_base.h"

namespace norvane::app {

class CSkinFrame : public ui::WindowImplBase {
 public:
  ~CSkinFrame() override;

  ui::CDuiString GetWindowClassName() const override { return "UISkinFrame"; }
  ui::CDuiString GetSkinFile() const override { return "skin.xml"; }
  void InitWindow() override;
  void Notify(ui::TNotifyUI& msg) override;

  // Opens a new chooser (no parent, on top, without a taskbar entry) with its top-right corner at the
  // bottom-right corner of `skinButtonRect`, which is in screen coordinates. Not modal: returns at once.
  // `dpi` is the main window's. The returned window lives until it closes; do not delete it.
  static CSkinFrame* Open(ui::CWindowWnd* mainWindow, const QRect& skinButtonRect, int dpi);

  // Test seam and "skin_Custom": the open-file dialog. Returns the chosen path, or empty when cancelled.
  using ImagePicker = std::function<ui::CDuiString(QWidget* parent)>;
  static void SetImagePickerForTesting(ImagePicker picker);

  // Closes every open chooser (the main window's shutdown); each frees itself from the event loop.
  static void CloseAll();
  // The choosers that are open now, oldest first.
  static std::vector<CSkinFrame*> OpenFrames() { return Registry(); }

 protected:
  void OnFinalMessage() override;

 private:
  static std::vector<CSkinFrame*>& Registry();
  bool IsOpen() const;  // not closed yet (a closed chooser waits to be freed)
  // "skin_Custom", posted from its click: the open-file dialog, then the chosen image for the main window.
  void PickCustomImage();

  bool pickingImage_ = false;  // its own dialog has the focus: losing it must not close the chooser
};

// "main.ini" in the user data folder: section "SKINIMAGE", keys "FLAGS" and "IMAGE". Other sections and keys
// already in the file are kept. The write is atomic; false (and `error` says why) when it failed.
bool RecordSkinChoice(const std::filesystem::path& iniFile, const ui::CDuiString& flags,
                      const ui::CDuiString& image, std::string* error = nullptr);
std::filesystem::path SkinChoiceFile();  // UserDataFolder() / "main.ini"

}  // namespace norvane::app
