#pragma once
// NotifyRouter: finds the target of a control notification in the routing table and hands it on, to the
// main window's own handler (slot kWindow) or to the editor registered for the row's slot. It splits the
// sender's name once, walks the stages of the notification's type in order, checks the row's letter case
// and page kinds, and tells the caller whether a row ended the handling ("nothing more").
//
// The current page is asked for only when a matching row serves page kinds; a row that needs a page does
// nothing without one, and nothing for a page kind it does not list.

#include <QString>
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
  // A row with its name ready for comparing.
  struct Candidate {
    QString name;
    const RouteRow* row = nullptr;
  };
  using Candidates = std::vector<Candidate>;
  struct TypeRoutes {
    Candidates identity;
    std::unordered_map<std::u16string, Candidates> prefix;
    std::unordered_map<std::u16string, Candidates> name;
    std::unordered_map<std::u16string, Candidates> afterList;
  };

  const TypeRoutes* RoutesOf(const ui::CDuiString& type) const;
  // The stages of a type in order, as Dispatch and Match both see them. `visit` gets one stage's
  // candidates, the text their rows compare with (the name, or the split's prefix) and the number it hands
  // on (-1: the row's own); it returns true to end the walk.
  template <class Visit>
  void Walk(const TypeRoutes& routes, const ui::CDuiString& name, Visit&& visit) const;
  // Whether a candidate's letter case fits the text it is compared with.
  static bool CaseFits(const Candidate& candidate, const QString& text);
  // Runs the first candidate whose case and kinds fit; true when it said nothing more.
  bool RunFirst(std::span<const Candidate> candidates, const QString& text, int number, ui::TNotifyUI& msg,
                bool& pageAsked, controls::CDevicePageUI*& page) const;
  void Hand(const RouteRow& row, int number, ui::TNotifyUI& msg, controls::CDevicePageUI* page,
            std::uint16_t kind) const;

  std::unordered_map<std::u16string, TypeRoutes> types_;
  std::array<editors::IEditor*, std::size_t(editors::EditorSlot::kCount)> editors_{};
  PageLookup page_;
  KindOf kindOf_;
  WindowHandler window_;
};

}  // namespace norvane::app
