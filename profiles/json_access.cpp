#include "profiles/json_access.h"

#include <cmath>
#include <limits>

namespace norvane::json {
namespace {
const Json::Value& NullValue() {
  static const Json::Value null_value;
  return null_value;
}
}  // namespace

const Json::Value& Member(const Json::Value& value, std::string_view key) {
  if (!value.isObject()) return NullValue();
  const Json::Value* found = value.find(key.data(), key.data() + key.size());
  return found != nullptr ? *found : NullValue();
}

const Json::Value& Element(const Json::Value& value, std::int64_t index) {
  if (!value.isArray() || index < 0 || index >= static_cast<std::int64_t>(value.size())) return NullValue();
  return value[static_cast<Json::ArrayIndex>(index)];
}

std::int64_t ArraySize(const Json::Value& value) {
  return value.isArray() ? static_cast<std::int64_t>(value.size()) : 0;
}

std::optional<std::int64_t> ToInteger(const Json::Value& value) {
  switch (value.type()) {
    case Json::intValue:
      return value.asInt64();
    case Json::uintValue:
      // Values above the signed range keep their low 64 bits, which is all any field can hold.
      return static_cast<std::int64_t>(value.asUInt64());
    case Json::realValue: {
      const double real = value.asDouble();
      constexpr double kLimit = 9.2e18;
      if (!std::isfinite(real) || real >= kLimit || real <= -kLimit) return std::nullopt;
      return static_cast<std::int64_t>(real);
    }
    case Json::booleanValue:
      return value.asBool() ? 1 : 0;
    default:
      return std::nullopt;
  }
}

bool ToFlag(const Json::Value& value) {
  if (value.isBool()) return value.asBool();
  if (value.isDouble() && !value.isIntegral()) {
    const double real = value.asDouble();
    return !std::isnan(real) && real != 0.0;
  }
  const std::optional<std::int64_t> number = ToInteger(value);
  return number.has_value() && *number != 0;
}

std::string ReadString(const Json::Value& object, std::string_view key) {
  const Json::Value& member = Member(object, key);
  return member.isString() ? member.asString() : std::string();
}

Json::Value& MemberForWrite(Json::Value& object, std::string_view key) {
  if (!object.isObject()) object = Json::Value(Json::objectValue);
  return object[std::string(key)];
}

Json::Value* ElementForWrite(Json::Value& array, std::int64_t index) {
  if (index < 0 || index > kMaxWritableIndex) return nullptr;
  if (!array.isArray()) array = Json::Value(Json::arrayValue);
  return &array[static_cast<Json::ArrayIndex>(index)];
}

}  // namespace norvane::json
