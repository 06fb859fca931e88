#include "editors/magic_control.h"

#include <QString>

#include "editors/page_controls.h"
#include "uilib/option.h"

namespace norvane::editors {
namespace {

constexpr const char* kEnable = "magic_enable_option";
constexpr const char* kVoicePrefix = "magic_option_";
constexpr const char* kVoiceLayout = "magic_option_layout";
constexpr const char* kNotice = "magic_notice";

}  // namespace

template <class T>
T* CMagicControlUI::Find(const QString& name) const {
  return dynamic_cast<T*>(FindInPanel(*this, name));
}

void CMagicControlUI::DoInit() {
  if (built_) return;
  built_ = true;
  if (!FindInPanel(*this, kEnable)) LoadSubSkin(kSkin);
}

void CMagicControlUI::ShowVoiceChanger(bool on, int voice, bool available) {
  voice_ = voice >= 1 && voice <= kVoiceCount ? voice : 0;
  if (auto* enable = Find<ui::COptionUI>(kEnable)) {
    enable->Selected(on, false);
    enable->SetEnabled(available);
  }
  for (int n = 1; n <= kVoiceCount; ++n) {
    if (auto* option = Find<ui::COptionUI>(kVoicePrefix + QString::number(n))) option->Selected(n == voice_, false);
  }
  if (ui::CControlUI* layout = Find<ui::CControlUI>(kVoiceLayout)) layout->SetEnabled(available);
  if (ui::CControlUI* notice = Find<ui::CControlUI>(kNotice)) notice->SetVisible(!available);
}

bool CMagicControlUI::IsOn() const {
  const auto* enable = Find<ui::COptionUI>(kEnable);
  return enable && enable->IsSelected();
}

}  // namespace norvane::editors
