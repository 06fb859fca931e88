#pragma once
// The routing contract between the skins and the code: for each notification type and control name or
// name prefix, which action runs, for which page kinds, and in which editor slot. The table is data; the
// router (NotifyRouter) walks it.

#include <cstdint>
#include <span>
#include <string_view>

#include "editors/route_action.h"

namespace norvane::app {

// The stages of one notification type, in the order they run.
enum class RouteStage : std::uint8_t {
  kIdentity,   // by sender before anything else
  kPrefix,     // by the prefix of the split name; the number is the split's
  kName,       // by the whole name, one match at most
  kAfterList,  // a second pass by whole name after the name stage ("itemselect")
};

// Page kinds a row serves, as bits of the kind code. kNoPage rows run without a current page.
inline constexpr std::uint32_t kNoPage = 0;
inline constexpr std::uint32_t kAnyKind = 0xFFFFFFFFu;
constexpr std::uint32_t Kinds(std::initializer_list<int> codes) {
  std::uint32_t mask = 0;
  for (int code : codes) mask |= 1u << code;
  return mask;
}

struct RouteRow {
  std::string_view type;
  RouteStage stage = RouteStage::kName;
  std::string_view name;  // the whole name, or the prefix with its underscore
  bool exactCase = false;
  std::uint32_t kinds = kNoPage;
  editors::EditorSlot slot = editors::EditorSlot::kWindow;
  editors::RouteAction action = editors::RouteAction::kNothing;
  int param = 0;      // the number a name row hands on
  bool stop = false;  // nothing more: no later stage and no default handling
};

std::span<const RouteRow> RoutingTable();

}  // namespace norvane::app
