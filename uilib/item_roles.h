#pragma once
// Library internal: where combo and list items keep their text id and user data.

#include <Qt>

namespace norvane::ui::detail {
inline constexpr int kTextIdRole = Qt::UserRole + 1;
inline constexpr int kUserDataRole = Qt::UserRole + 2;
}  // namespace norvane::ui::detail
