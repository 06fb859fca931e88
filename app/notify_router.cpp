#include "app/notify_router.h"

#include <algorithm>

#include "platform/trace.h"
#include "uilib/control.h"
#include "uilib/control_name.h"

namespace norvane::app {

namespace {

std::u16string Key(const QString& text) {
  const QString lower = text.toLower();
  return std::u16string(reinterpret_cast<const char16_t*>(lower.utf16()), std::size_t(lower.size()));
}

std::u16string Key(std::string_view utf8) {
  return Key(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

bool ServesKind(std::uint32_t kinds, std::uint16_t kind) {
  if (kinds == kAnyKind) return true;
  return kind < 32 && (kinds & (1u << kind)) != 0;
}

}  // namespace

NotifyRouter::NotifyRouter(std::span<const RouteRow> rows) {
  for (const RouteRow& row : rows) {
    TypeRoutes& routes = types_[Key(row.type)];
    switch (row.stage) {
      case RouteStage::kIdentity:
        routes.identity.push_back(&row);
        break;
      case RouteStage::kPrefix:
        routes.prefix[Key(row.name)].push_back(&row);
        break;
      case RouteStage::kName:
        routes.name[Key(row.name)].push_back(&row);
        break;
      case RouteStage::kAfterList:
        routes.afterList[Key(row.name)].push_back(&row);
        break;
    }
  }
}

void NotifyRouter::Register(editors::EditorSlot slot, editors::IEditor* editor) {
  if (slot == editors::EditorSlot::kWindow || slot >= editors::EditorSlot::kCount) return;
  editors_[std::size_t(slot)] = editor;
}

editors::IEditor* NotifyRouter::EditorOf(editors::EditorSlot slot) const {
  if (slot >= editors::EditorSlot::kCount) return nullptr;
  return editors_[std::size_t(slot)];
}

std::vector<editors::IEditor*> NotifyRouter::Editors() const {
  std::vector<editors::IEditor*> all;
  for (editors::IEditor* editor : editors_) {
    if (editor && std::find(all.begin(), all.end(), editor) == all.end()) all.push_back(editor);
  }
  return all;
}

const NotifyRouter::TypeRoutes* NotifyRouter::RoutesOf(const ui::CDuiString& type) const {
  // Types compare exactly: "Click" is no click.
  const auto it = types_.find(std::u16string(reinterpret_cast<const char16_t*>(type.utf16()),
                                             std::size_t(type.size())));
  return it == types_.end() ? nullptr : &it->second;
}

bool NotifyRouter::Dispatch(ui::TNotifyUI& msg) const {
  const TypeRoutes* routes = RoutesOf(msg.sType);
  if (!routes) return false;
  const ui::CDuiString name = msg.pSender ? msg.pSender->GetName() : ui::CDuiString();
  bool pageAsked = false;
  controls::CDevicePageUI* page = nullptr;

  for (const RouteRow* row : routes->identity) {
    if (!row->name.empty() && name.compare(QString::fromUtf8(row->name.data(), qsizetype(row->name.size())),
                                           row->exactCase ? Qt::CaseSensitive : Qt::CaseInsensitive) != 0)
      continue;
    if (RunFirst({row}, name, row->param, msg, pageAsked, page)) return true;
  }
  if (!routes->prefix.empty()) {
    if (const std::optional<ui::ControlNameSplit> split = ui::SplitControlName(name)) {
      if (const auto it = routes->prefix.find(Key(split->prefix)); it != routes->prefix.end()) {
        if (RunFirst(it->second, split->prefix, split->number, msg, pageAsked, page)) return true;
      }
    }
  }
  const std::u16string key = Key(name);
  if (const auto it = routes->name.find(key); it != routes->name.end()) {
    if (RunFirst(it->second, name, -1, msg, pageAsked, page)) return true;
  }
  if (const auto it = routes->afterList.find(key); it != routes->afterList.end()) {
    if (RunFirst(it->second, name, -1, msg, pageAsked, page)) return true;
  }
  return false;
}

bool NotifyRouter::RunFirst(const std::vector<const RouteRow*>& candidates, const ui::CDuiString& text,
                            int number, ui::TNotifyUI& msg, bool& pageAsked,
                            controls::CDevicePageUI*& page) const {
  for (const RouteRow* row : candidates) {
    if (row->exactCase && text != QString::fromUtf8(row->name.data(), qsizetype(row->name.size()))) continue;
    if (!pageAsked) {
      pageAsked = true;
      page = page_ ? page_() : nullptr;
    }
    const std::uint16_t kind = page && kindOf_ ? kindOf_(*page) : 0;
    if (row->kinds != kNoPage && (!page || !ServesKind(row->kinds, kind))) continue;
    Hand(*row, number < 0 ? row->param : number, msg, page, kind);
    return row->stop;
  }
  return false;
}

void NotifyRouter::Hand(const RouteRow& row, int number, ui::TNotifyUI& msg, controls::CDevicePageUI* page,
                        std::uint16_t kind) const {
  const editors::RoutedNotify notify{row.action, number, &msg, page, kind};
  if (row.slot == editors::EditorSlot::kWindow) {
    if (window_) window_(notify);
    return;
  }
  if (editors::IEditor* editor = EditorOf(row.slot)) editor->OnRoute(notify);
}

std::vector<const RouteRow*> NotifyRouter::Match(const ui::CDuiString& type, const ui::CDuiString& name) const {
  std::vector<const RouteRow*> matched;
  const TypeRoutes* routes = RoutesOf(type);
  if (!routes) return matched;
  for (const RouteRow* row : routes->identity) {
    if (row->name.empty() || name.compare(QString::fromUtf8(row->name.data(), qsizetype(row->name.size())),
                                          Qt::CaseInsensitive) == 0)
      matched.push_back(row);
  }
  if (const std::optional<ui::ControlNameSplit> split = ui::SplitControlName(name)) {
    if (const auto it = routes->prefix.find(Key(split->prefix)); it != routes->prefix.end())
      matched.insert(matched.end(), it->second.begin(), it->second.end());
  }
  for (const auto* map : {&routes->name, &routes->afterList}) {
    if (const auto it = map->find(Key(name)); it != map->end()) {
      for (const RouteRow* row : it->second) {
        if (!row->exactCase || name == QString::fromUtf8(row->name.data(), qsizetype(row->name.size())))
          matched.push_back(row);
      }
    }
  }
  return matched;
}

}  // namespace norvane::app
