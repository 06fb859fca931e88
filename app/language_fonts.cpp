#include "app/language_fonts.h"

#include <QFontDatabase>
#include <algorithm>
#include <array>
#include <string>

#include "uilib/font_table.h"

namespace norvane::app {
namespace {

constexpr std::string_view kSimplifiedChineseFace = "汉仪菱心体简";
constexpr std::string_view kTraditionalChineseFace = "Noto Sans CJK TC Regular";
constexpr std::string_view kThaiFace = "Noto Sans Thai";
constexpr std::string_view kLatinFace = "Verdana Unicode MS";

// The families that stand for each face, best first. Latin faces begin with a Latin family; the Chinese
// families at the end draw what the first ones lack.
const QStringList& CandidatesFor(std::string_view face) {
  static const QStringList chinese = {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Noto Sans SC",
                                      "Source Han Sans SC", "Droid Sans Fallback", "DejaVu Sans"};
  static const QStringList traditional = {"Noto Sans CJK TC", "Noto Sans TC", "WenQuanYi Micro Hei",
                                          "Noto Sans CJK SC", "Droid Sans Fallback", "DejaVu Sans"};
  static const QStringList thai = {"Noto Sans Thai", "Noto Sans Thai UI", "Loma", "Garuda", "DejaVu Sans",
                                   "WenQuanYi Micro Hei", "Noto Sans CJK SC", "Droid Sans Fallback"};
  static const QStringList latin = {"Verdana", "DejaVu Sans", "Noto Sans", "Liberation Sans",
                                    "WenQuanYi Micro Hei", "Noto Sans CJK SC", "Droid Sans Fallback"};
  if (face == kSimplifiedChineseFace) return chinese;
  if (face == kTraditionalChineseFace) return traditional;
  if (face == kThaiFace) return thai;
  return latin;
}

}  // namespace

bool NeedsFontRebuild(int next, int current) {
  return next == 0 || next == 2 || next == 15 || current == 15 || current == -1 || current == 2 || current == 0;
}

std::string_view FaceForLanguage(std::int64_t languageId) {
  switch (languageId) {
    case 2052:
      return kSimplifiedChineseFace;
    case 1028:
    case 3076:
    case 5124:
      return kTraditionalChineseFace;
    case 1054:
      return kThaiFace;
    default:
      return kLatinFace;
  }
}

QStringList FamiliesForFace(std::string_view face) {
  const QStringList installed = QFontDatabase::families();
  auto has = [&](const QString& family) { return installed.contains(family, Qt::CaseInsensitive); };
  QStringList families;
  const QString own = QString::fromUtf8(face.data(), qsizetype(face.size()));
  if (has(own)) families << own;
  for (const QString& family : CandidatesFor(face)) {
    if (has(family) && !families.contains(family, Qt::CaseInsensitive)) families << family;
  }
  // Whatever the face, a family with Chinese characters comes last, so that Chinese names and texts show.
  const bool drawsChinese = std::any_of(families.begin(), families.end(), [](const QString& family) {
    return QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese);
  });
  if (!drawsChinese) {
    for (const QString& family : installed) {
      if (QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese)) {
        families << family;
        break;
      }
    }
  }
  return families;
}

namespace {
std::string& LastFace() {
  static std::string face;
  return face;
}
}  // namespace

void RebuildFontTable(std::string_view face) {
  ui::CFontTable::Rebuild(FamiliesForFace(face));
  LastFace() = std::string(face);
}

std::string_view CurrentFontFace() {
  return LastFace();
}

}  // namespace norvane::app
