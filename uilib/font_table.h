#pragma once
// The process-wide font table: the default font and the numbered fonts that skins name with the dynamic
// property "fontid", all in one face (a list of families, the first that has a character draws it). A
// rebuild replaces the face of every font: of the table, of the application, and of every control of every
// open window (their sizes and styles stay as their skins gave them), then re-applies each window's scale.
// UI thread only.

#include <QFont>
#include <QStringList>
#include <array>
#include <optional>

namespace norvane::ui {

struct FontSpec {
  int id = 0;
  int pixelSize = 0;
  bool bold = false;
  bool underline = false;
};

// The numbered fonts: 0 (15), 1 (14, underlined), 2 (18), 3 (30), 4 (16), 5 (20), 6 (22), 7 (14), 8 (12),
// 9 (11), 10 (10), 11 (28) and 50 (18, bold); sizes in pixels at 96 DPI.
inline constexpr std::array<FontSpec, 13> kFontTable = {{{0, 15, false, false},
                                                         {1, 14, false, true},
                                                         {2, 18, false, false},
                                                         {3, 30, false, false},
                                                         {4, 16, false, false},
                                                         {5, 20, false, false},
                                                         {6, 22, false, false},
                                                         {7, 14, false, false},
                                                         {8, 12, false, false},
                                                         {9, 11, false, false},
                                                         {10, 10, false, false},
                                                         {11, 28, false, false},
                                                         {50, 18, true, false}}};
inline constexpr int kDefaultFontPixelSize = 14;

class CFontTable {
 public:
  // Removes every font of the table and adds the numbered fonts and the default font in `families`, then
  // gives the application and every open window that face.
  static void Rebuild(const QStringList& families);
  // The face of the last rebuild; empty before the first.
  static QStringList Families();
  // Font `id` of the table; nothing for an id the table does not have (or before the first rebuild).
  static std::optional<QFont> Font(int id);
  static QFont DefaultFont();
  // Gives every control below `root` the table's face; controls with a "fontid" get that font.
  static void ApplyTo(QWidget* root);
  static int RebuildCount();
};

}  // namespace norvane::ui
