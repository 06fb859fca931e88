#pragma once
// The editors' own controls, for the skin builder: the key assignment panel ("KeySetControl"), the
// lighting panel ("LightControl"), the macro editor ("MacroControl") and its record buttons, and the
// headset's sound and voice changer panels ("Voice6533Control", "MagicControl").

namespace norvane::editors {

void RegisterEditorControls();

}  // namespace norvane::editors
