#pragma once
// CRedioMacroButtonUI (skin class "RedioMacroButton"): the macro editor's record and stop buttons. A button
// that also keeps the skin's "redioimage" (the image drawn while recording); otherwise a plain button.

#include "uilib/button.h"

namespace norvane::editors {

class CRedioMacroButtonUI : public ui::CButtonUI {
 public:
  static constexpr const char* kClassName = "RedioMacroButton";

  void SetAttribute(const ui::CDuiString& name, const ui::CDuiString& value) override {
    if (name == "redioimage") redioImage_ = value;
  }
  const ui::CDuiString& RedioImage() const { return redioImage_; }

 private:
  ui::CDuiString redioImage_;
};

}  // namespace norvane::editors
