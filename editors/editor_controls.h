#pragma once
// The editors' own controls, for the skin builder: the key assignment panel ("KeySetControl") and the
// lighting panel ("LightControl").

namespace norvane::editors {

void RegisterEditorControls();

}  // namespace norvane::editors
