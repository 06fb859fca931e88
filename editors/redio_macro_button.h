#pragma once
// CRedioMacroButtonUI (skin class "RedioMacroButton"): the macro editor's record and stop buttons. A button
// that also keeps the skin's "redioimage", the image it shows while a recording runs; every other skin
// attribute is the button's.

#include "uilib/button.h"

namespace norvane::editors {

class CRedioMacroButtonUI : public ui::CButtonUI {
 public:
  static constexpr const char* kClassName = "RedioMacroButton";
  static constexpr const char* kImageAttribute = "redioimage";

  void SetAttribute(const ui::CDuiString& name, const ui::CDuiString& value) override {
    if (name == kImageAttribute) {
      redioImage_ = value;
      return;
    }
    ui::CButtonUI::SetAttribute(name, value);
  }
  const ui::CDuiString& RedioImage() const { return redioImage_; }

  // A recording runs (the button shows its recording image) or not (the skin's own image again).
  void SetRecording(bool recording) {
    if (recording == recording_) return;
    if (recording) savedImage_ = GetForeImage();
    recording_ = recording;
    SetForeImage(recording && !redioImage_.isEmpty() ? redioImage_ : savedImage_);
  }
  bool IsRecording() const { return recording_; }

 private:
  ui::CDuiString redioImage_;
  ui::CDuiString savedImage_;
  bool recording_ = false;
};

}  // namespace norvane::editors
