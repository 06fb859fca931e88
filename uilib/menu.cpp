#include "uilib/menu.h"

#include <QFile>
#include <QXmlStreamReader>
#include <cstdio>

#include "uilib/resource_manager.h"

namespace norvane::ui {

namespace {

constexpr const char* kNameProperty = "menuname";
constexpr const char* kUserDataProperty = "userdata";

QString ItemText(const QXmlStreamAttributes& attrs) {
  const QString id = attrs.value("textid").toString();
  if (!id.isEmpty()) {
    if (auto text = CResourceManager::GetInstance().GetText(id)) return *text;
  }
  const QString text = attrs.value("text").toString();
  return text.isEmpty() ? id : text;
}

// Reads the children of the current element into `menu`. Returns false on an XML error.
void ReadItems(QXmlStreamReader& xml, QMenu* menu) {
  while (xml.readNextStartElement()) {
    if (xml.name() == QLatin1String("Separator")) {
      menu->addSeparator();
      xml.skipCurrentElement();
      continue;
    }
    if (xml.name() != QLatin1String("MenuElement")) {
      xml.skipCurrentElement();
      continue;
    }
    const QXmlStreamAttributes attrs = xml.attributes();
    const QString text = ItemText(attrs);
    const QString icon = attrs.value("icon").toString();
    // An element with children opens a sub-menu.
    auto* sub = new QMenu(text, menu);
    ReadItems(xml, sub);
    if (!sub->actions().isEmpty()) {
      menu->addMenu(sub);
      continue;
    }
    delete sub;
    QAction* action = menu->addAction(text);
    action->setProperty(kNameProperty, attrs.value("name").toString());
    action->setProperty(kUserDataProperty, attrs.value("userdata").toString());
    if (!icon.isEmpty()) action->setIcon(QIcon(CResourceManager::GetInstance().ResolveResource(icon)));
    if (attrs.hasAttribute("checked")) {
      action->setCheckable(true);
      action->setChecked(attrs.value("checked") == QLatin1String("true"));
    }
  }
}

}  // namespace

CMenuWnd::CMenuWnd() = default;
CMenuWnd::~CMenuWnd() = default;

bool CMenuWnd::Load(const CDuiString& skinName) {
  const QString path = CResourceManager::GetInstance().ResolveSkinFile(skinName);
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "menu: no menu skin for \"%s\"\n", qPrintable(skinName));
    return false;
  }
  QXmlStreamReader xml(&file);
  auto menu = std::make_unique<QMenu>();
  menu->setObjectName("menu");
  if (!xml.readNextStartElement() || xml.name() != QLatin1String("Menu")) {
    std::fprintf(stderr, "menu %s: the top element must be <Menu>\n", qPrintable(path));
    return false;
  }
  ReadItems(xml, menu.get());
  if (xml.hasError()) {
    std::fprintf(stderr, "menu %s: line %lld: %s\n", qPrintable(path), xml.lineNumber(),
                 qPrintable(xml.errorString()));
    return false;
  }
  QObject::connect(menu.get(), &QMenu::triggered, menu.get(), [this](QAction* action) { Report(action); });
  menu_ = std::move(menu);
  return true;
}

bool CMenuWnd::Init(WindowHandle owner, const CDuiString& skinName, QPoint point, int alignment) {
  owner_ = std::move(owner);
  if (!Load(skinName)) return false;
  Popup(point, alignment);
  return true;
}

QPoint CMenuWnd::AlignedTopLeft(QPoint point, QSize size, int alignment) {
  QPoint topLeft = point;
  if (alignment & eMenuAlignment_Right) topLeft.rx() -= size.width();
  if (alignment & eMenuAlignment_Bottom) topLeft.ry() -= size.height();
  return topLeft;
}

void CMenuWnd::Popup(QPoint point, int alignment) {
  if (!menu_) return;
  menu_->popup(AlignedTopLeft(point, menu_->sizeHint(), alignment));
}

void CMenuWnd::Close() {
  if (menu_) menu_->close();
}

bool CMenuWnd::ChooseItem(const CDuiString& name) {
  if (!menu_) return false;
  for (QAction* action : menu_->findChildren<QAction*>()) {
    if (action->property(kNameProperty).toString() == name) {
      action->trigger();  // reaches Report through the menu's triggered signal
      return true;
    }
  }
  return false;
}

void CMenuWnd::Report(QAction* action) {
  MenuCmd cmd;
  cmd.szName = action->property(kNameProperty).toString();
  cmd.szUserData = action->property(kUserDataProperty).toString();
  cmd.szText = action->text();
  cmd.bChecked = action->isChecked();
  if (owner_) owner_.SendMessage(WM_MENUCLICK, reinterpret_cast<WPARAM>(&cmd), 0);
  if (onChosen_) onChosen_(cmd);
}

}  // namespace norvane::ui
