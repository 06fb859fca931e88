#include "profiles/light_sections.h"

#include "profiles/json_access.h"

namespace norvane::sections {

using json::MemberForWrite;
using json::ReadFlag;
using json::ReadInteger;

namespace {
Json::Value::Int Flag(std::uint8_t value) {
  return value != 0 ? 1 : 0;
}
}  // namespace

LightEffect ReadLightInfo(const Json::Value& object) {
  LightEffect light;
  light.mode = ReadInteger<std::uint8_t>(object, "SelectItem");
  light.brightness = ReadInteger<std::uint8_t>(object, "Light");
  light.speed = ReadInteger<std::uint8_t>(object, "Speed");
  light.direction = ReadInteger<std::uint8_t>(object, "Fx");
  light.multi_color = ReadFlag(object, "MultiColor");
  light.red = ReadInteger<std::uint8_t>(object, "Red");
  light.green = ReadInteger<std::uint8_t>(object, "Green");
  light.blue = ReadInteger<std::uint8_t>(object, "Blue");
  light.zzcc_mode = ReadInteger<std::uint8_t>(object, "ZZCCLedMode");
  light.custom_group = ReadInteger<std::uint8_t>(object, "CustomGroup");
  light.old_led_mode = ReadInteger<std::uint8_t>(object, "OldLedmode");
  return light;
}

void WriteLightInfo(Json::Value& object, const LightEffect& light) {
  MemberForWrite(object, "SelectItem") = light.mode;
  MemberForWrite(object, "Light") = light.brightness;
  MemberForWrite(object, "Speed") = light.speed;
  MemberForWrite(object, "Fx") = light.direction;
  MemberForWrite(object, "MultiColor") = Flag(light.multi_color);
  MemberForWrite(object, "Red") = light.red;
  MemberForWrite(object, "Green") = light.green;
  MemberForWrite(object, "Blue") = light.blue;
  MemberForWrite(object, "ZZCCLedMode") = light.zzcc_mode;
  MemberForWrite(object, "CustomGroup") = light.custom_group;
  MemberForWrite(object, "OldLedmode") = light.old_led_mode;
}

LightEffect ReadLightListElement(const Json::Value& element) {
  LightEffect light;
  if (!element.isObject()) return light;
  light.present = 1;
  light.mode = ReadInteger<std::uint8_t>(element, "LEDREGMode");
  light.brightness = ReadInteger<std::uint8_t>(element, "LEDBrightness");
  light.speed = ReadInteger<std::uint8_t>(element, "LEDSpeed");
  light.multi_color = ReadFlag(element, "LEDMultiColor");
  light.direction = ReadFlag(element, "LEDDirection");
  light.blue = ReadInteger<std::uint8_t>(element, "blue");
  light.green = ReadInteger<std::uint8_t>(element, "green");
  light.red = ReadInteger<std::uint8_t>(element, "red");
  return light;
}

LedStep ReadLedStep(const Json::Value& element) {
  LedStep step;
  step.effect.mode = ReadInteger<std::uint8_t>(element, "LEDREGMode");
  step.effect.direction = ReadInteger<std::uint8_t>(element, "LEDDirection");
  step.effect.brightness = ReadInteger<std::uint8_t>(element, "LEDBrightness");
  step.effect.speed = ReadInteger<std::uint8_t>(element, "LEDSpeed");
  step.effect.multi_color = ReadInteger<std::uint8_t>(element, "LEDMultiColor");
  step.effect.red = ReadInteger<std::uint8_t>(element, "red");
  step.effect.green = ReadInteger<std::uint8_t>(element, "green");
  step.effect.blue = ReadInteger<std::uint8_t>(element, "blue");
  step.time = ReadInteger<std::int32_t>(element, "Time");
  step.cycle = ReadInteger<std::int32_t>(element, "Cyle");
  return step;
}

void WriteLedStep(Json::Value& object, const LedStep& step) {
  MemberForWrite(object, "LEDREGMode") = step.effect.mode;
  MemberForWrite(object, "LEDDirection") = step.effect.direction;
  MemberForWrite(object, "LEDBrightness") = step.effect.brightness;
  MemberForWrite(object, "LEDSpeed") = step.effect.speed;
  MemberForWrite(object, "LEDMultiColor") = step.effect.multi_color;
  MemberForWrite(object, "red") = step.effect.red;
  MemberForWrite(object, "green") = step.effect.green;
  MemberForWrite(object, "blue") = step.effect.blue;
  MemberForWrite(object, "Time") = step.time;
  MemberForWrite(object, "Cyle") = step.cycle;
}

AudioLightInfo ReadAudioLightInfo(const Json::Value& object) {
  AudioLightInfo audio;
  audio.audio_mode = ReadInteger<std::uint8_t>(object, "AudioMode");
  audio.background_red = ReadInteger<std::uint8_t>(object, "BkColorR");
  audio.background_green = ReadInteger<std::uint8_t>(object, "BkColorG");
  audio.background_blue = ReadInteger<std::uint8_t>(object, "BkColorB");
  audio.foreground_red = ReadInteger<std::uint8_t>(object, "FgColorR");
  audio.foreground_green = ReadInteger<std::uint8_t>(object, "FgColorG");
  audio.foreground_blue = ReadInteger<std::uint8_t>(object, "FgColorB");
  audio.seven_color = ReadFlag(object, "7ColorFlags");
  audio.color_type = ReadFlag(object, "ColorTypeFlags");
  return audio;
}

void WriteAudioLightInfo(Json::Value& object, const AudioLightInfo& audio) {
  MemberForWrite(object, "AudioMode") = audio.audio_mode;
  MemberForWrite(object, "BkColorR") = audio.background_red;
  MemberForWrite(object, "BkColorG") = audio.background_green;
  MemberForWrite(object, "BkColorB") = audio.background_blue;
  MemberForWrite(object, "FgColorR") = audio.foreground_red;
  MemberForWrite(object, "FgColorG") = audio.foreground_green;
  MemberForWrite(object, "FgColorB") = audio.foreground_blue;
  MemberForWrite(object, "7ColorFlags") = Flag(audio.seven_color);
  MemberForWrite(object, "ColorTypeFlags") = Flag(audio.color_type);
}

}  // namespace norvane::sections
