#pragma once
// Reading and writing JSON values without surprises. jsoncpp throws when a value has the wrong type
// (asInt() of a string, a key lookup in an array, an index into an object), and its non-const operator[]
// silently grows arrays and inserts null members. Everything the program reads from a file goes through
// these accessors instead: a value of the wrong type reads as missing, reading never changes the document,
// and writes only ever touch the exact slot the caller names.

#include <json/json.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace norvane::json {

// Arrays this program writes stay far below this; an index from a file beyond it is refused rather than
// allowed to allocate millions of elements.
inline constexpr std::int64_t kMaxWritableIndex = 4096;

// The member key of an object, or a shared null value when value is not an object or has no such member.
const Json::Value& Member(const Json::Value& value, std::string_view key);

// Element index of an array, or a shared null value when value is not an array or index is outside it.
const Json::Value& Element(const Json::Value& value, std::int64_t index);

// Number of elements when value is an array, else 0.
std::int64_t ArraySize(const Json::Value& value);

// The integer a value holds: integers as they are, reals truncated toward zero when finite and within
// range, booleans as 0 or 1. Anything else (null, strings, arrays, objects) is missing.
std::optional<std::int64_t> ToInteger(const Json::Value& value);

// ToInteger of a member, 0 when missing, truncated to the width of T (the low bits are kept, as a cast
// from a wider integer does).
template <typename T>
T ReadInteger(const Json::Value& object, std::string_view key) {
  return static_cast<T>(static_cast<std::uint64_t>(ToInteger(Member(object, key)).value_or(0)));
}

// A flag: true for true and for any non-zero number, false otherwise (missing included).
bool ToFlag(const Json::Value& value);
inline std::uint8_t ReadFlag(const Json::Value& object, std::string_view key) {
  return ToFlag(Member(object, key)) ? 1 : 0;
}

// A string member, empty when missing or not a string.
std::string ReadString(const Json::Value& object, std::string_view key);

// The slot key of object for writing. A value that is not an object (null, or the wrong type from a
// damaged file) becomes an empty object first.
Json::Value& MemberForWrite(Json::Value& object, std::string_view key);

// The slot index of array for writing; a value that is not an array becomes an empty one first and the
// array grows with nulls up to index. Returns nullptr (and changes nothing) for an index outside
// 0..kMaxWritableIndex.
Json::Value* ElementForWrite(Json::Value& array, std::int64_t index);

// A value is "usable as an object section" when it is an object; null and wrong types read as missing.
inline bool IsPresentObject(const Json::Value& value) {
  return value.isObject();
}

}  // namespace norvane::json
