#pragma once
// CMagicControlUI (skin class "MagicControl"; a headset page holds one as "MagicControlItem"): the voice
// changer: "magic_enable_option" switches it, "magic_option_1" to "magic_option_4" in "magic_option_layout"
// choose the voice. It holds no settings of its own (the headset editor shows the device's).
//
// The panel builds its content from "XML\CustomControlXML\MagicControl.xml" in DoInit.

#include <string>

#include "uilib/container.h"

namespace norvane::editors {

class CMagicControlUI : public ui::CHorizontalLayoutUI {
 public:
  static constexpr const char* kClassName = "MagicControl";
  static constexpr const char* kItemName = "MagicControlItem";
  static constexpr const char* kSkin = "XML\\CustomControlXML\\MagicControl.xml";
  static constexpr int kVoiceCount = 4;

  void DoInit() override;

  // Voice `voice` selected and the others not; for a voice outside 1 to 4 none is, and the panel keeps 0.
  void ShowVoiceChanger(bool on, int voice, bool available);
  bool IsOn() const;
  // The voice the panel shows, 0 for none.
  int GetVoice() const { return voice_; }

 private:
  template <class T>
  T* Find(const QString& name) const;

  bool built_ = false;
  int voice_ = 0;
};

}  // namespace norvane::editors
