#include "uilib/font_table.h"

#include <QApplication>
#include <QWidget>
#include <map>

#include "uilib/paint_manager.h"

namespace norvane::ui {
namespace {

// The skin property that names a font of the table.
constexpr const char* kFontIdProperty = "fontid";

struct TableState {
  QStringList families;
  std::map<int, QFont> fonts;
  QFont defaultFont;
  int rebuilds = 0;
};

TableState& State() {
  static TableState state;
  return state;
}

QFont MakeFont(const QStringList& families, int pixelSize, bool bold, bool underline) {
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setUnderline(underline);
  font.setItalic(false);
  return font;
}

}  // namespace

void CFontTable::Rebuild(const QStringList& families) {
  TableState& state = State();
  state.fonts.clear();
  state.families = families;
  for (const FontSpec& spec : kFontTable) {
    state.fonts[spec.id] = MakeFont(families, spec.pixelSize, spec.bold, spec.underline);
  }
  state.defaultFont = MakeFont(families, kDefaultFontPixelSize, false, false);
  ++state.rebuilds;
  if (families.isEmpty()) return;

  // The application's font keeps its size (the skins are drawn for it); only the face follows the table.
  QFont application = QApplication::font();
  application.setFamilies(families);
  QApplication::setFont(application);
  for (CPaintManagerUI* manager : CPaintManagerUI::GetAll()) {
    QWidget* host = manager->GetPaintWindow();
    if (!host) continue;
    ApplyTo(host);
    manager->ApplyScaleTo(host);
  }
}

void CFontTable::ApplyTo(QWidget* root) {
  if (!root) return;
  const TableState& state = State();
  if (state.families.isEmpty()) return;
  auto apply = [&](QWidget* w) {
    // Windows (the host, pop-ups) take the application's font; their controls are set one by one.
    if (w->isWindow()) return;
    QFont base;
    bool fromTable = false;
    if (const QVariant id = w->property(kFontIdProperty); id.isValid()) {
      if (const auto it = state.fonts.find(id.toInt()); it != state.fonts.end()) {
        base = it->second;
        fromTable = true;
      }
    }
    if (!fromTable) {
      const QVariant kept = w->property(kBaseFontProperty);
      base = kept.isValid() ? kept.value<QFont>()
                            : (w->testAttribute(Qt::WA_SetFont) ? w->font() : QApplication::font(w));
      base.setFamilies(state.families);
    }
    w->setProperty(kBaseFontProperty, base);
    // Unscaled here; the window's scale is applied from the base by its manager.
    w->setFont(base);
  };
  apply(root);
  for (QWidget* w : root->findChildren<QWidget*>()) apply(w);
}

QStringList CFontTable::Families() {
  return State().families;
}

std::optional<QFont> CFontTable::Font(int id) {
  const TableState& state = State();
  if (const auto it = state.fonts.find(id); it != state.fonts.end()) return it->second;
  return std::nullopt;
}

QFont CFontTable::DefaultFont() {
  return State().defaultFont;
}

int CFontTable::RebuildCount() {
  return State().rebuilds;
}

}  // namespace norvane::ui
