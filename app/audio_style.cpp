#include "app/audio_style.h"

#include "profiles/json_access.h"
#include "profiles/json_file_util.h"
#include "platform/trace.h"

namespace norvane::app {

namespace {

constexpr const char* kDevice = "Device";
constexpr const char* kAudioLightInfo = "AudioLightInfo";
constexpr const char* kStyle = "nAudioStyle";
constexpr const char* kComponents = "RGB";

std::string NameKey(int group) {
  return "nStyleName" + std::to_string(group + 1);
}

std::string ColourKey(int component, int group) {
  return std::string("nStyle") + kComponents[component] + std::to_string(group);
}

const Json::Value& DeviceOf(const Json::Value& document) {
  return json::Member(document, kDevice);
}

}  // namespace

AudioStyle AudioStyleOf(const Json::Value& device) {
  AudioStyle style;
  const Json::Value& info = json::Member(device, kAudioLightInfo);
  if (!json::IsPresentObject(device) || !json::IsPresentObject(info)) return style;
  style.style = json::ReadInteger<std::uint8_t>(info, kStyle);
  for (int group = 0; group < AudioStyle::kGroups; ++group) {
    style.names[std::size_t(group)] = json::ReadString(info, NameKey(group));
    for (int c = 0; c < 3; ++c)
      style.colours[std::size_t(group)][std::size_t(c)] = json::ReadInteger<std::uint8_t>(info, ColourKey(c, group));
  }
  return style;
}

void PutAudioStyle(Json::Value& device, const AudioStyle& style) {
  Json::Value info(Json::objectValue);
  info[kStyle] = style.style;
  for (int group = 0; group < AudioStyle::kGroups; ++group) {
    info[NameKey(group)] = style.names[std::size_t(group)];
    for (int c = 0; c < 3; ++c) info[ColourKey(c, group)] = style.colours[std::size_t(group)][std::size_t(c)];
  }
  json::MemberForWrite(device, kAudioLightInfo) = info;
}

std::array<std::uint8_t, kStyleColourRecordBytes> StyleColourRecord(const AudioStyle& style) {
  std::array<std::uint8_t, kStyleColourRecordBytes> record{};
  const auto& colour = style.colours[std::size_t(style.style % AudioStyle::kGroups)];
  record[0] = colour[0];
  record[4] = colour[1] == 0 ? 1 : colour[1];
  record[8] = colour[2];
  return record;
}

AudioStyleStore::AudioStyleStore(std::filesystem::path userFile, std::filesystem::path defaultFile)
    : userFile_(std::move(userFile)), defaultFile_(std::move(defaultFile)) {}

void AudioStyleStore::Load() {
  const Json::Value document = JsonFileUtil().ReadJsonValue(userFile_);
  const Json::Value& device = DeviceOf(document);
  if (json::IsPresentObject(device)) {
    device_ = device;
  } else if (!TakeDefault()) {
    Trace("audio style: neither " + userFile_.string() + " nor the default holds a style");
    device_ = Json::Value(Json::objectValue);
  }
  style_ = AudioStyleOf(device_);
}

void AudioStyleStore::Reset() {
  if (!TakeDefault()) {
    Trace("audio style: the default " + defaultFile_.string() + " is missing or damaged; the style stays");
    return;
  }
  style_ = AudioStyleOf(device_);
}

bool AudioStyleStore::TakeDefault() {
  const Json::Value document = JsonFileUtil().ReadJsonValue(defaultFile_);
  const Json::Value& device = DeviceOf(document);
  if (!json::IsPresentObject(device)) return false;
  if (const FileResult written = JsonFileUtil().WriteJsonValue(userFile_, document); !written)
    LogFileFailure(written);
  device_ = device;
  return true;
}

void AudioStyleStore::SetStyle(const AudioStyle& style) {
  style_ = style;
  if (!json::IsPresentObject(device_)) device_ = Json::Value(Json::objectValue);
  PutAudioStyle(device_, style);
}

FileResult AudioStyleStore::Save() {
  Json::Value document = JsonFileUtil().ReadJsonValue(userFile_);
  if (!document.isObject()) document = Json::Value(Json::objectValue);
  json::MemberForWrite(document, kDevice) = device_;
  return JsonFileUtil().WriteJsonValue(userFile_, document);
}

}  // namespace norvane::app
