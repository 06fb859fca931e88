#include "app/notify_router.h"

#include <algorithm>

#include "uilib/control.h"
#include "uilib/control_name.h"

namespace norvane::app {

namespace {

std::u16string Key(const QString& text) {
  const QString lower = text.toLower();
  return std::u16string(reinterpret_cast<const char16_t*>(lower.utf16()), std::size_t(lower.size()));
}

QString Text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

bool ServesKind(std::uint32_t kinds, std::uint16_t kind) {
  if (kinds == kAnyKind) return true;
  return kind < 32 && (kinds & (1u << kind)) != 0;
}

}  // namespace

NotifyRouter::NotifyRouter(std::span<const RouteRow> rows) {
  for (const RouteRow& row : rows) {
    TypeRoutes& routes = types_[Key(Text(row.type))];
    Candidate candidate{Text(row.name), &row};
    const std::u16string key = Key(candidate.name);
    switch (row.stage) {
      case RouteStage::kIdentity:
        routes.identity.push_back(std::move(candidate));
        break;
      case RouteStage::kPrefix:
        routes.prefix[key].push_back(std::move(candidate));
        break;
      case RouteStage::kName:
        routes.name[key].push_back(std::move(candidate));
        break;
      case RouteStage::kAfterList:
        routes.afterList[key].push_back(std::move(candidate));
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

bool NotifyRouter::CaseFits(const Candidate& candidate, const QString& text) {
  return !candidate.row->exactCase || text == candidate.name;
}

template <class Visit>
void NotifyRouter::Walk(const TypeRoutes& routes, const ui::CDuiString& name, Visit&& visit) const {
  for (const Candidate& candidate : routes.identity) {
    // An identity row without a name takes any sender.
    if (!candidate.name.isEmpty() && name.compare(candidate.name, Qt::CaseInsensitive) != 0) continue;
    if (visit(std::span(&candidate, 1), name, -1)) return;
  }
  if (!routes.prefix.empty()) {
    if (const std::optional<ui::ControlNameSplit> split = ui::SplitControlName(name)) {
      if (const auto it = routes.prefix.find(Key(split->prefix)); it != routes.prefix.end()) {
        if (visit(it->second, split->prefix, split->number)) return;
      }
    }
  }
  const std::u16string key = Key(name);
  for (const auto* stage : {&routes.name, &routes.afterList}) {
    if (const auto it = stage->find(key); it != stage->end()) {
      if (visit(it->second, name, -1)) return;
    }
  }
}

bool NotifyRouter::Dispatch(ui::TNotifyUI& msg) const {
  const TypeRoutes* routes = RoutesOf(msg.sType);
  if (!routes) return false;
  const ui::CDuiString name = msg.pSender ? msg.pSender->GetName() : ui::CDuiString();
  bool pageAsked = false;
  controls::CDevicePageUI* page = nullptr;
  bool ended = false;
  Walk(*routes, name, [&](std::span<const Candidate> candidates, const QString& text, int number) {
    ended = RunFirst(candidates, text, number, msg, pageAsked, page);
    return ended;
  });
  return ended;
}

bool NotifyRouter::RunFirst(std::span<const Candidate> candidates, const QString& text, int number,
                            ui::TNotifyUI& msg, bool& pageAsked, controls::CDevicePageUI*& page) const {
  for (const Candidate& candidate : candidates) {
    const RouteRow& row = *candidate.row;
    if (!CaseFits(candidate, text)) continue;
    if (!pageAsked) {
      pageAsked = true;
      page = page_ ? page_() : nullptr;
    }
    const std::uint16_t kind = page && kindOf_ ? kindOf_(*page) : 0;
    if (row.kinds != kNoPage && (!page || !ServesKind(row.kinds, kind))) continue;
    Hand(row, number < 0 ? row.param : number, msg, page, kind);
    return row.stop;
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
  if (const TypeRoutes* routes = RoutesOf(type)) {
    Walk(*routes, name, [&](std::span<const Candidate> candidates, const QString& text, int) {
      for (const Candidate& candidate : candidates)
        if (CaseFits(candidate, text)) matched.push_back(candidate.row);
      return false;
    });
  }
  return matched;
}

}  // namespace norvane::app
