#include "update/update_time.h"

#include <ctime>

#include "platform/xdg_paths.h"
#include "profiles/json_access.h"
#include "profiles/json_file_util.h"

namespace norvane::update {

std::filesystem::path UpdateTimeFile() {
  return UserDataFolder() / "updatetime.config";
}

std::string DateText(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  return std::to_string(local.tm_year + 1900) + "-" + std::to_string(local.tm_mon + 1) + "-" +
         std::to_string(local.tm_mday);
}

std::string TodayText() {
  return DateText(std::chrono::system_clock::now());
}

std::string ReadOrStartUpdateTime(const std::filesystem::path& file, const std::string& today) {
  const Json::Value document = JsonFileUtil().ReadJsonValue(file);
  const Json::Value& value = json::Member(json::Member(document, "updatelasttime"), "value");
  if (value.isString()) return value.asString();
  const FileResult written = WriteUpdateTime(file, today);
  if (!written) LogFileFailure(written);
  return today;
}

FileResult WriteUpdateTime(const std::filesystem::path& file, const std::string& date) {
  Json::Value document(Json::objectValue);
  json::MemberForWrite(json::MemberForWrite(document, "updatelasttime"), "value") = date;
  return JsonFileUtil().WriteJsonValue(file, document);
}

}  // namespace norvane::update
