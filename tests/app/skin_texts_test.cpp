// Every text id a skin, a menu or the language list names, and every id the settings window shows from
// code, has its text in both language files: no control shows a bare id in either language.

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <filesystem>
#include <map>
#include <set>

#include "app/language_config.h"
#include "update/update_info.h"
#include "update/update_work.h"

namespace norvane::app::test {
namespace {

namespace fs = std::filesystem;

QString ReadAll(const fs::path& path) {
  QFile file(QString::fromStdString(path.string()));
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

std::set<QString> LanguageIds(const char* file) {
  std::set<QString> ids;
  QXmlStreamReader xml(ReadAll(fs::path(NORVANE_SOURCE_DIR "/skin") / file));
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"Text")
      ids.insert(xml.attributes().value("id").toString());
  }
  EXPECT_FALSE(xml.hasError()) << file << ": " << xml.errorString().toStdString();
  return ids;
}

// Text ids the shipped skins use, each with the first file that uses it.
std::map<QString, std::string> SkinTextIds() {
  std::map<QString, std::string> used;
  const QRegularExpression property(
      R"re(<property name="(?:textid|tooltipid|itemtextids)" stdset="0">\s*<string>([^<]*)</string>)re");
  const QRegularExpression menuAttribute(R"re(\btextid="([^"]+)")re");
  for (const auto& entry : fs::recursive_directory_iterator(NORVANE_SOURCE_DIR "/skin")) {
    const std::string name = entry.path().filename().string();
    const std::string extension = entry.path().extension().string();
    if (extension != ".ui" && !(extension == ".xml" && name.rfind("lan_", 0) != 0 && name != "res.xml")) continue;
    const QString text = ReadAll(entry.path());
    for (const QRegularExpression* pattern : {&property, &menuAttribute}) {
      auto matches = pattern->globalMatch(text);
      while (matches.hasNext()) {
        for (const QString& id : matches.next().captured(1).split(u',', Qt::SkipEmptyParts))
          used.emplace(id.trimmed(), name);
      }
    }
  }
  return used;
}

TEST(SkinTextsTest, EveryTextIdInUseHasItsTextInBothLanguages) {
  std::map<QString, std::string> used = SkinTextIds();
  ASSERT_GT(used.size(), 200u) << "the skins were read";
  for (const LanguageEntry& entry : ReadLanguageConfig(NORVANE_SOURCE_DIR "/DefaultData/Language.config"))
    used.emplace(QString::fromStdString(entry.textId), "Language.config");
  for (int state = 0; state <= 8; ++state) {
    const std::string_view id = update::PresentationOf(state).statusTextId;
    used.emplace(QString::fromUtf8(id.data(), qsizetype(id.size())), "update list states");
  }
  for (int status = update::kStatusChecking; status <= update::kStatusNotConfigured; ++status) {
    const std::string_view id = update::StatusTextId(status);
    used.emplace(QString::fromUtf8(id.data(), qsizetype(id.size())), "update list status");
  }
  used.emplace("UpdateFailedMsgText", "settings window");

  for (const char* file : {"lan_en.xml", "lan_cn.xml"}) {
    const std::set<QString> ids = LanguageIds(file);
    for (const auto& [id, where] : used) {
      EXPECT_TRUE(ids.count(id)) << file << " has no text for \"" << id.toStdString() << "\" (used in " << where
                                 << ")";
    }
  }
}

}  // namespace
}  // namespace norvane::app::test
