#pragma once
// CVoice6533ControlUI (skin class "Voice6533Control"; a headset page holds one as "Voice6533ControlItem"):
// the headset's sound panel. It shows the equalizer (presets "6533_eq_option_1" to 13, the ten band sliders
// "6533_eq_hz_slider_1" to 10, the user's sets in "custom_eq_option_layout" with "custom_eq_name_combo",
// "custom_eq_name_edit", "hs_EQ_btn_save" and "hs_EQ_btn_delete"), the microphone ("6533_MicIn_option",
// "6533_MicIn_slider") and the monitoring ("6533_MicMoniter_option", "6533_MicMoniter_slider"), and says
// what the headset's sound card cannot do. It holds no settings of its own: the headset editor reads the
// user's change from it and shows the device's state on it.
//
// The panel builds its content from "XML\CustomControlXML\Voice6533Control.xml" in DoInit; an operation whose
// control is missing does nothing.

#include <string>
#include <vector>

#include "devices/headset/equalizer.h"
#include "uilib/container.h"

namespace norvane::editors {

class CVoice6533ControlUI : public ui::CHorizontalLayoutUI {
 public:
  static constexpr const char* kClassName = "Voice6533Control";
  static constexpr const char* kItemName = "Voice6533ControlItem";
  static constexpr const char* kSkin = "XML\\CustomControlXML\\Voice6533Control.xml";

  void DoInit() override;

  // Option `preset` selected and the others not; a number outside 1 to 13 selects none.
  void ShowPreset(int preset);
  void ShowBands(const devices::headset::EqBands& bands);
  devices::headset::EqBands GetBands() const;
  // The user's sets as combo items, `selection` chosen (-1 none); the set controls shown or hidden.
  void ShowCustomSets(const std::vector<std::string>& names, int selection, bool shown);
  int GetCustomSelection() const;
  std::string GetCustomName() const;
  void ClearCustomName();
  void SetEqualizerAvailable(bool available);

  struct LevelLine {
    bool on = false;
    int level = 0;
    std::string decibels;
    bool levelAvailable = false;
    bool switchAvailable = false;
  };
  void ShowMicrophone(const LevelLine& line);
  void ShowMonitoring(const LevelLine& line);
  bool IsMicrophoneOn() const;
  bool IsMonitoringOn() const;
  int GetMicrophoneLevel() const;
  int GetMonitoringLevel() const;
  // Why (some of) the headset's sound cannot be set, as a language text id; empty hides the notice.
  void ShowNotice(const std::string& textId);

 private:
  template <class T>
  T* Find(const QString& name) const;
  void ShowLine(const char* option, const char* slider, const char* value, const char* layout, const LevelLine& line);

  bool built_ = false;
};

}  // namespace norvane::editors
