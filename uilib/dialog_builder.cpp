#include "uilib/dialog_builder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QVBoxLayout>
#include <cstdio>

#include "uilib/button.h"
#include "uilib/color_palette.h"
#include "uilib/color_value.h"
#include "uilib/combo.h"
#include "uilib/container.h"
#include "uilib/control_factory.h"
#include "uilib/edit.h"
#include "uilib/font_table.h"
#include "uilib/list.h"
#include "uilib/option.h"
#include "uilib/paint_manager.h"
#include "uilib/resource_manager.h"
#include "uilib/skin_loader.h"
#include "uilib/window_host.h"

namespace norvane::ui {

namespace detail {

namespace {
IDialogBuilderCallback* g_currentCallback = nullptr;  // UI thread only; set for the duration of one build

class CallbackScope {
 public:
  explicit CallbackScope(IDialogBuilderCallback* cb) : previous_(g_currentCallback) {
    if (cb) g_currentCallback = cb;
  }
  ~CallbackScope() { g_currentCallback = previous_; }
  CallbackScope(const CallbackScope&) = delete;
  CallbackScope& operator=(const CallbackScope&) = delete;

 private:
  IDialogBuilderCallback* previous_;
};
}  // namespace

IDialogBuilderCallback* CurrentBuilderCallback() {
  return g_currentCallback;
}

SkinLoader::SkinLoader(IDialogBuilderCallback* callback, QString skinFile)
    : callback_(callback), skinFile_(std::move(skinFile)) {}

QWidget* SkinLoader::createWidget(const QString& className, QWidget* parent, const QString& name) {
  CControlUI* control = CControlFactory::GetInstance()->CreateControl(className);
  if (!control && callback_) control = callback_->CreateControl(className);
  QWidget* widget = nullptr;
  if (control) {
    widget = control->GetWidget();
    widget->setParent(parent);
  } else if (availableWidgets().contains(className)) {
    // A Qt widget the library has no control for: it shows, but FindControl does not return it.
    widget = QUiLoader::createWidget(className, parent, name);
  } else {
    std::fprintf(stderr,
                 "skin %s: unknown control class \"%s\" (control \"%s\"); an empty container stands in\n",
                 qPrintable(skinFile_), qPrintable(className), qPrintable(name));
    widget = new CContainerUI(parent);
  }
  if (!widget) return nullptr;
  widget->setObjectName(name);
  widget->setProperty("uiclass", className);
  return widget;
}

}  // namespace detail

namespace {

// Skin-level properties that map to control operations.
void ApplySkinProperties(CControlUI& c) {
  QWidget* w = c.GetWidget();
  for (const QByteArray& name : w->dynamicPropertyNames()) {
    if (name.startsWith("_nv_") || name == "uiclass" || name == "nvstyleid") continue;  // the library's own
    c.SetAttribute(QString::fromUtf8(name), w->property(name).toString());
  }
  if (auto color = ParseColorValue(w->property("textcolor").toString())) c.SetTextColor(*color);
  // "fontid": a font of the table (its face follows the language).
  if (const QVariant id = w->property("fontid"); id.isValid()) {
    if (const std::optional<QFont> font = CFontTable::Font(id.toInt())) w->setFont(*font);
  }
  if (auto* button = dynamic_cast<CButtonUI*>(&c)) {
    if (const QString image = w->property("foreimage").toString(); !image.isEmpty())
      button->SetForeImage(image);
  }
  if (const QString id = w->property("textid").toString(); !id.isEmpty()) {
    c.SetTextId(id);
  }
  if (const QString id = w->property("tooltipid").toString(); !id.isEmpty()) {
    if (auto text = CResourceManager::GetInstance().GetText(id)) c.SetToolTip(*text);
  }
  if (auto color = ParseColorValue(w->property("bkcolor").toString())) c.SetBkColor(*color);
  if (const QString image = w->property("bkimage").toString(); !image.isEmpty()) c.SetBkImage(image);
  if (auto* option = dynamic_cast<COptionUI*>(&c)) {
    if (auto color = ParseColorValue(w->property("selectedbkcolor").toString()))
      option->SetSelectedBkColor(*color);
  }
  // "itemtextids": the items of a combo or list as language ids, comma separated.
  const QStringList itemIds = w->property("itemtextids").toString().split(u',', Qt::SkipEmptyParts);
  if (auto* combo = dynamic_cast<CComboUI*>(&c)) {
    if (!itemIds.isEmpty()) {
      combo->RemoveAll();
      for (const QString& id : itemIds) combo->AddItem(id.trimmed(), true);
    }
    // "itemuserdata": the items' user data, comma separated, in item order.
    const QStringList data = w->property("itemuserdata").toString().split(u',');
    if (w->property("itemuserdata").isValid()) {
      for (int i = 0; i < data.size() && i < combo->GetCount(); ++i) combo->SetItemUserData(i, data[i].trimmed());
    }
    combo->ReloadItemTexts();
  }
  if (auto* list = dynamic_cast<CListUI*>(&c)) {
    if (!itemIds.isEmpty()) {
      list->RemoveAll();
      for (const QString& id : itemIds) list->AddItem(id.trimmed(), true);
    }
    list->ReloadItemTexts();
    if (const QVariant row = w->property("currentrow"); row.isValid())
      list->SelectItem(row.toInt(), false, false);
  }
  if (auto* palette = dynamic_cast<CColorPaletteUI*>(&c)) {
    if (auto color = ParseColorValue(w->property("selectcolor").toString())) palette->SetSelectColor(*color);
  }
  if (auto* edit = dynamic_cast<CEditUI*>(&c); edit && w->property("numberonly").toBool())
    edit->SetNumberOnly(true);
}

}  // namespace

CControlUI* CDialogBuilder::Create(const CDuiString& skinName, IDialogBuilderCallback* callback,
                                   QWidget* into) {
  const QString path = CResourceManager::GetInstance().ResolveSkinFile(skinName);
  if (path.isEmpty()) {
    std::fprintf(stderr, "skin: no skin file for \"%s\" under %s\n", qPrintable(skinName),
                 qPrintable(CResourceManager::GetInstance().GetResourcePath()));
    return nullptr;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "skin %s: cannot be read: %s\n", qPrintable(path), qPrintable(file.errorString()));
    return nullptr;
  }
  detail::CallbackScope scope(callback);
  // Building sets initial states (checked options, values); none of that is a user action.
  auto* host = into ? dynamic_cast<detail::WindowHost*>(into->window()) : nullptr;
  CPaintManagerUI::NotifySuppressor quiet(host ? host->Manager() : nullptr);
  detail::SkinLoader loader(callback ? callback : detail::CurrentBuilderCallback(), path);
  loader.setWorkingDirectory(QFileInfo(path).dir());
  QWidget* rootWidget = loader.load(&file, into);
  if (!rootWidget) {
    std::fprintf(stderr, "skin %s: cannot be loaded: %s\n", qPrintable(path),
                 qPrintable(loader.errorString()));
    return nullptr;
  }
  CControlUI* root = ControlOf(rootWidget);
  if (!root) {
    // The skin's top widget is a Qt class without control operations: wrap it so callers get a control.
    auto* wrapper = new CContainerUI(into);
    wrapper->setObjectName(rootWidget->objectName());
    auto* layout = new QVBoxLayout(wrapper);
    layout->setContentsMargins(0, 0, 0, 0);
    rootWidget->setParent(wrapper);
    layout->addWidget(rootWidget);
    wrapper->resize(rootWidget->size());
    rootWidget = wrapper;
    root = wrapper;
  }
  const QSize skinSize = rootWidget->size();
  if (into) {
    if (!into->layout()) {
      auto* layout = new QVBoxLayout(into);
      layout->setContentsMargins(0, 0, 0, 0);
      layout->setSpacing(0);
    }
    if (!rootWidget->layout() && skinSize.isValid()) rootWidget->setMinimumSize(skinSize);
    into->layout()->addWidget(rootWidget);
    if (into->isWindow() && !into->isVisible() && skinSize.isValid()) into->resize(skinSize);
  }
  for (QWidget* w : rootWidget->findChildren<QWidget*>()) {
    if (CControlUI* c = ControlOf(w)) ApplySkinProperties(*c);
  }
  ApplySkinProperties(*root);
  if (CPaintManagerUI* pm = root->GetManager(); pm && pm->GetDPI() != kDefaultDpi)
    pm->ApplyScaleTo(rootWidget);
  InitControls(rootWidget);
  return root;
}

void CDialogBuilder::InitControls(QWidget* root) {
  if (!root) return;
  // DoInit may build more controls (sub-skins); go round until every control has had its DoInit.
  for (bool more = true; more;) {
    more = false;
    QList<QPointer<QWidget>> all;
    all.append(root);
    for (QWidget* w : root->findChildren<QWidget*>()) all.append(w);
    for (const QPointer<QWidget>& w : all) {
      if (!w) continue;  // removed by an earlier DoInit
      CControlUI* c = ControlOf(w.data());
      if (c && c->MarkInitialised()) {
        c->DoInit();
        more = true;
      }
    }
  }
}

}  // namespace norvane::ui
