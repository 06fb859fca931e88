#pragma once
// The look: a dark Fusion palette and the style sheet "theme.qss" from the skin folder, plus the fonts under
// the skin's "fonts/" folder.

#include <QString>

class QApplication;

namespace norvane::ui {

// Applies palette, application font and style sheet. False (message on stderr) when theme.qss is missing;
// the palette still applies.
bool ApplyTheme(QApplication& app);

// Registers every .ttf and .otf under <skin>/fonts; files that cannot be registered are skipped silently.
// Returns the number registered.
int RegisterBundledFonts();

// Registers the library's control classes with the control factory (done by the factory itself; exposed for
// the start-up code to make the order explicit).
void RegisterLibraryControls();

}  // namespace norvane::ui
