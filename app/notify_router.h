#pragma once
// NotifyRouter: finds the target of a control notification in the routing table and hands it on, to the
// main window's own handler (slot kWindow) or to the editor registered for the row's slot. It splits the
// sender's name once, walks the stages of the notification's type in order, checks the row's letter case
// and page kinds, and tells the caller whether a row ended the handling ("nothing more").
//
// The current page is asked for only when a matching row serves page kinds; a row that needs a page does
// nothing without one, and nothing for a page kind it does not list.

#include <array>
#include <functional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/routing_table.h"
#include "editors/editor.h"
#include "uilib/notify.h"

namespace norvane::app {

class NotifyRouter {
 public:
  using PageLookup = std::function<controls::CDevicePageUI*()>;
  using WindowHandler = std::function<void(const editors::RoutedNotify&)>;
  // The kind code a page's rows are checked against (a receiver link is its wired kind).
  using KindOf = std::function<std::uint16_t(const controls::CDevicePageUI&)>;

  explicit NotifyRouter(std::span<const RouteRow> rows = RoutingTable());

  void SetCurrentPage(PageLookup lookup) { page_ = std::move(lookup); }
  void SetKindOf(KindOf kindOf) { kindOf_ = std::move(kindOf); }
  void SetWindowHandler(WindowHandler handler) { window_ = std::move(handler); }
  // The editor of a slot; null unregisters. The editor must outlive the router or be unregistered.
  void Register(editors::EditorSlot slot, editors::IEditor* editor);
  editors::IEditor* EditorOf(editors::EditorSlot slot) const;
  // Every registered editor, once each.
  std::vector<editors::IEditor*> Editors() const;

  // Routes one notification; true when a row said nothing more is to be done with it.
  bool Dispatch(ui::TNotifyUI& msg) const;

  // What Dispatch would hand on for this type and name, without a page check: the matched rows in order.
  // For tests and diagnostics.
  std::vector<const RouteRow*> Match(const ui::CDuiString& type, const ui::CDuiString& name) const;

 private:
  struct TypeRoutes {
    std::vector<const RouteRow*> identity;
    std::unordered_map<std::u16string, std::vector<const RouteRow*>> prefix;
    std::unordered_map<std::u16string, std::vector<const RouteRow*>> name;
    std::unordered_map<std::u16string, std::vector<const RouteRow*>> afterList;
  };
  const TypeRoutes* RoutesOf(const ui::CDuiString& type) const;
  // Runs the first row of `candidates` whose case and kinds fit; true when it said nothing more.
  bool RunFirst(const std::vector<const RouteRow*>& candidates, const ui::CDuiString& text, int number,
                ui::TNotifyUI& msg, bool& pageAsked, controls::CDevicePageUI*& page) const;
  void Hand(const RouteRow& row, int number, ui::TNotifyUI& msg, controls::CDevicePageUI* page,
            std::uint16_t kind) const;

  std::unordered_map<std::u16string, TypeRoutes> types_;
  std::array<editors::IEditor*, std::size_t(editors::EditorSlot::kCount)> editors_{};
  PageLookup page_;
  KindOf kindOf_;
  WindowHandler window_;
};

}  // namespace norvane::app
