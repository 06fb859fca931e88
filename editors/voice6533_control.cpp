#include "editors/voice6533_control.h"

#include <QString>

#include "editors/page_controls.h"
#include "uilib/combo.h"
#include "uilib/edit.h"
#include "uilib/option.h"
#include "uilib/slider.h"

namespace norvane::editors {
namespace {

constexpr const char* kPresetPrefix = "6533_eq_option_";
constexpr const char* kBandPrefix = "6533_eq_hz_slider_";
constexpr const char* kEqualizerLayout = "hs_eq_layout";
constexpr const char* kCustomLayout = "custom_eq_option_layout";
constexpr const char* kCustomCombo = "custom_eq_name_combo";
constexpr const char* kCustomEdit = "custom_eq_name_edit";
constexpr const char* kNotice = "hs_audio_notice";
constexpr const char* kUnavailable = "hs_unavailable_text";

QString LevelText(int level, const std::string& decibels) {
  QString text = QString::number(level);
  if (!decibels.empty()) text += QStringLiteral("  (%1 dB)").arg(QString::fromStdString(decibels));
  return text;
}

}  // namespace

template <class T>
T* CVoice6533ControlUI::Find(const QString& name) const {
  return dynamic_cast<T*>(FindInPanel(*this, name));
}

void CVoice6533ControlUI::DoInit() {
  if (built_) return;
  built_ = true;
  if (!FindInPanel(*this, kEqualizerLayout)) LoadSubSkin(kSkin);
}

void CVoice6533ControlUI::ShowPreset(int preset) {
  for (int n = devices::headset::kFirstPreset; n <= devices::headset::kCustomPreset; ++n) {
    if (auto* option = Find<ui::COptionUI>(kPresetPrefix + QString::number(n))) option->Selected(n == preset, false);
  }
}

void CVoice6533ControlUI::ShowBands(const devices::headset::EqBands& bands) {
  for (int band = 1; band <= devices::headset::kBandCount; ++band) {
    if (auto* slider = Find<ui::CSliderUI>(kBandPrefix + QString::number(band))) {
      slider->SetValue(bands[static_cast<std::size_t>(band - 1)]);
    }
  }
}

devices::headset::EqBands CVoice6533ControlUI::GetBands() const {
  devices::headset::EqBands bands{};
  for (int band = 1; band <= devices::headset::kBandCount; ++band) {
    if (const auto* slider = Find<ui::CSliderUI>(kBandPrefix + QString::number(band))) {
      bands[static_cast<std::size_t>(band - 1)] = slider->GetValue();
    }
  }
  return bands;
}

void CVoice6533ControlUI::ShowCustomSets(const std::vector<std::string>& names, int selection, bool shown) {
  if (auto* combo = Find<ui::CComboUI>(kCustomCombo)) {
    bool same = combo->GetCount() == static_cast<int>(names.size());
    for (int i = 0; same && i < combo->GetCount(); ++i) {
      same = combo->GetItemText(i) == QString::fromStdString(names[static_cast<std::size_t>(i)]);
    }
    if (!same) {
      combo->RemoveAll();
      for (const std::string& name : names) combo->AddItem(QString::fromStdString(name));
    }
    if (selection < 0 || !combo->SelectItem(selection, false, false)) combo->ClearSelection();
  }
  if (ui::CControlUI* layout = Find<ui::CControlUI>(kCustomLayout)) layout->SetVisible(shown);
}

int CVoice6533ControlUI::GetCustomSelection() const {
  const auto* combo = Find<ui::CComboUI>(kCustomCombo);
  return combo ? combo->GetCurSel() : -1;
}

std::string CVoice6533ControlUI::GetCustomName() const {
  const auto* edit = Find<ui::CEditUI>(kCustomEdit);
  return edit ? edit->GetText().trimmed().toStdString() : std::string();
}

void CVoice6533ControlUI::ClearCustomName() {
  if (auto* edit = Find<ui::CEditUI>(kCustomEdit)) edit->SetText({});
}

void CVoice6533ControlUI::SetEqualizerAvailable(bool available) {
  if (ui::CControlUI* layout = Find<ui::CControlUI>(kEqualizerLayout)) layout->SetEnabled(available);
}

void CVoice6533ControlUI::ShowLine(const char* option, const char* slider, const char* value, const char* layout,
                                   const LevelLine& line) {
  if (auto* onOption = Find<ui::COptionUI>(option)) {
    onOption->Selected(line.on, false);
    onOption->SetEnabled(line.switchAvailable);
  }
  if (auto* levelSlider = Find<ui::CSliderUI>(slider)) {
    levelSlider->SetValue(line.level);
    levelSlider->SetEnabled(line.levelAvailable);
  }
  if (ui::CControlUI* label = Find<ui::CControlUI>(value)) {
    if (line.levelAvailable) {
      label->SetResourceText(false);
      label->SetText(LevelText(line.level, line.decibels));
    } else {
      label->SetResourceText(true);
      label->SetText(kUnavailable);
    }
  }
  if (ui::CControlUI* group = Find<ui::CControlUI>(layout)) {
    group->SetEnabled(line.levelAvailable || line.switchAvailable);
  }
}

void CVoice6533ControlUI::ShowMicrophone(const LevelLine& line) {
  ShowLine("6533_MicIn_option", "6533_MicIn_slider", "hs_mic_value_label", "hs_mic_layout", line);
}

void CVoice6533ControlUI::ShowMonitoring(const LevelLine& line) {
  ShowLine("6533_MicMoniter_option", "6533_MicMoniter_slider", "hs_monitor_value_label", "hs_monitor_layout", line);
}

bool CVoice6533ControlUI::IsMicrophoneOn() const {
  const auto* option = Find<ui::COptionUI>("6533_MicIn_option");
  return option && option->IsSelected();
}

bool CVoice6533ControlUI::IsMonitoringOn() const {
  const auto* option = Find<ui::COptionUI>("6533_MicMoniter_option");
  return option && option->IsSelected();
}

int CVoice6533ControlUI::GetMicrophoneLevel() const {
  const auto* slider = Find<ui::CSliderUI>("6533_MicIn_slider");
  return slider ? slider->GetValue() : 0;
}

int CVoice6533ControlUI::GetMonitoringLevel() const {
  const auto* slider = Find<ui::CSliderUI>("6533_MicMoniter_slider");
  return slider ? slider->GetValue() : 0;
}

void CVoice6533ControlUI::ShowNotice(const std::string& textId) {
  ui::CControlUI* notice = Find<ui::CControlUI>(kNotice);
  if (!notice) return;
  if (textId.empty()) {
    notice->SetVisible(false);
    return;
  }
  notice->SetResourceText(true);
  notice->SetText(QString::fromStdString(textId));
  notice->SetVisible(true);
}

}  // namespace norvane::editors
