#pragma once
// Controls of the demo skin: they show how a program's own control classes plug into the skins, and they
// let the tests and the screenshot tool exercise the control factory and sub-skins.

#include "uilib/container.h"

namespace norvane::ui::demo {

// A small status card that builds itself from the sub-skin "XML\CustomControlXML\StatCard.xml".
class CDemoStatCardUI : public CContainerUI {
 public:
  void DoInit() override;
  // Shows a percentage on the card's value label and bar.
  void SetPercent(int percent);
};

// Registers the demo classes with the control factory.
void RegisterDemoControls();

}  // namespace norvane::ui::demo
