#include "uilib/resource_manager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <cstdio>

#include "platform/xdg_paths.h"
#include "uilib/combo.h"
#include "uilib/list.h"
#include "uilib/paint_manager.h"

namespace norvane::ui {

namespace {

QString NormaliseSkinName(const QString& name) {
  QString n = name;
  n.replace(u'\\', u'/');
  return n;
}

// Reads <Root><Child a="..." b="..."/></Root>-shaped files: calls fn(element reader) for every child element
// named `element`. Returns an error text, empty on success.
template <class Fn>
QString ReadElements(const QString& path, QStringView rootName, QStringView element, Fn fn) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return file.errorString();
  QXmlStreamReader xml(&file);
  if (!xml.readNextStartElement()) return xml.hasError() ? xml.errorString() : QStringLiteral("empty file");
  if (xml.name().compare(rootName, Qt::CaseInsensitive) != 0) {
    return QStringLiteral("the top element is <%1>, not <%2>").arg(xml.name(), rootName);
  }
  while (xml.readNextStartElement()) {
    if (xml.name().compare(element, Qt::CaseInsensitive) == 0)
      fn(xml);
    else
      xml.skipCurrentElement();
  }
  if (xml.hasError()) {
    return QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
  }
  return {};
}

}  // namespace

CResourceManager& CResourceManager::GetInstance() {
  static CResourceManager manager;
  return manager;
}

CDuiString CResourceManager::DefaultResourcePath() {
  const QByteArray env = qgetenv("NORVANE_SKIN_DIR");
  if (!env.isEmpty()) return QString::fromLocal8Bit(env);
  return QString::fromStdString((ProgramDataFolder() / "skin").string());
}

void CResourceManager::SetResourcePath(const CDuiString& folder) {
  resourcePath_ = folder;
}

CDuiString CResourceManager::GetResourcePath() const {
  return resourcePath_.isEmpty() ? DefaultResourcePath() : resourcePath_;
}

bool CResourceManager::LoadResource(const CDuiString& indexFile) {
  const QString path = ResolveResource(indexFile);
  QHash<QString, QString> index;
  const QString error = ReadElements(path, u"Res", u"Skin", [&](QXmlStreamReader& xml) {
    const QString name = NormaliseSkinName(xml.attributes().value("name").toString());
    const QString file = xml.attributes().value("file").toString();
    if (!name.isEmpty() && !file.isEmpty()) index.insert(name.toLower(), NormaliseSkinName(file));
    xml.skipCurrentElement();
  });
  if (!error.isEmpty()) {
    std::fprintf(stderr, "skin index %s: %s\n", qPrintable(path), qPrintable(error));
    return false;
  }
  skinIndex_ = std::move(index);
  return true;
}

CDuiString CResourceManager::ResolveResource(const CDuiString& relativePath) const {
  const QString p = NormaliseSkinName(relativePath);
  return QFileInfo(p).isAbsolute() ? p : QDir(GetResourcePath()).filePath(p);
}

CDuiString CResourceManager::ResolveSkinFile(const CDuiString& skinName) const {
  const QString name = NormaliseSkinName(skinName);
  if (name.isEmpty()) return {};
  QStringList candidates;
  if (auto it = skinIndex_.find(name.toLower()); it != skinIndex_.end()) candidates << *it;
  candidates << name;
  if (name.endsWith(".xml", Qt::CaseInsensitive)) candidates << name.left(name.size() - 4) + ".ui";
  for (const QString& candidate : candidates) {
    const QString path = ResolveResource(candidate);
    if (QFileInfo(path).isFile()) return path;
  }
  return {};
}

bool CResourceManager::LoadLanguage(const CDuiString& file) {
  const QString path = ResolveResource(file);
  QHash<QString, QString> texts;
  const QString error = ReadElements(path, u"Language", u"Text", [&](QXmlStreamReader& xml) {
    const QString id = xml.attributes().value("id").toString();
    const bool hasValue = xml.attributes().hasAttribute("value");
    const QString value = hasValue ? xml.attributes().value("value").toString() : QString();
    const QString body = xml.readElementText(QXmlStreamReader::IncludeChildElements);
    if (!id.isEmpty()) texts.insert(id, hasValue ? value : body);
  });
  if (!error.isEmpty()) {
    std::fprintf(stderr, "language file %s: %s; the previous texts stay\n", qPrintable(path),
                 qPrintable(error));
    return false;
  }
  texts_ = std::move(texts);
  reportedMissing_.clear();
  return true;
}

std::optional<CDuiString> CResourceManager::GetText(const CDuiString& id) {
  if (query_) {
    if (auto answer = query_->QueryControlText(id); answer && !answer->isEmpty()) return answer;
  }
  if (auto it = texts_.find(id); it != texts_.end()) return CDuiString(*it);
  if (!reportedMissing_.contains(id)) {
    reportedMissing_.insert(id);
    std::fprintf(stderr,
                 "language: no text for id \"%s\" in the current language; the control keeps its text\n",
                 qPrintable(id));
  }
  return std::nullopt;
}

void CResourceManager::ReloadText() {
  for (CPaintManagerUI* pm : CPaintManagerUI::GetAll()) {
    QWidget* host = pm->GetPaintWindow();
    if (!host) continue;
    for (QWidget* w : host->findChildren<QWidget*>()) {
      CControlUI* c = ControlOf(w);
      if (!c) continue;
      if (const QString id = c->GetTextId(); !id.isEmpty()) {
        c->SetTextId(id);
      }
      if (const QString id = w->property("tooltipid").toString(); !id.isEmpty()) {
        if (auto text = GetText(id)) c->SetToolTip(*text);
      }
      if (auto* combo = dynamic_cast<CComboUI*>(c)) combo->ReloadItemTexts();
      if (auto* list = dynamic_cast<CListUI*>(c)) list->ReloadItemTexts();
    }
  }
}

void CResourceManager::Release() {
  skinIndex_.clear();
  texts_.clear();
  reportedMissing_.clear();
  language_.clear();
  query_ = nullptr;
}

}  // namespace norvane::ui
