#pragma once
// How the lighting records map onto their JSON objects. Reads tolerate any damage (wrong types read as
// missing); writes keep members the record does not know about.

#include <json/json.h>

#include "profiles/profile_records.h"

namespace norvane::sections {

// "LightInfo": "SelectItem", "Light", "Speed", "Fx", "MultiColor", "Red", "Green", "Blue", "ZZCCLedMode",
// "CustomGroup", "OldLedmode".
LightEffect ReadLightInfo(const Json::Value& object);
void WriteLightInfo(Json::Value& object, const LightEffect& light);

// An element of "LightList": "LEDREGMode", "LEDBrightness", "LEDSpeed", "LEDMultiColor" and
// "LEDDirection" (both flags), "red", "green", "blue". A null or non-object element reads as all zero with
// the present flag clear.
LightEffect ReadLightListElement(const Json::Value& element);

// An element of "LEDEffectList" in a custom light file; here the multi-colour value is an integer.
LedStep ReadLedStep(const Json::Value& element);
void WriteLedStep(Json::Value& object, const LedStep& step);

// "AudioLightInfo": "AudioMode", "BkColorR/G/B", "FgColorR/G/B", "7ColorFlags", "ColorTypeFlags".
AudioLightInfo ReadAudioLightInfo(const Json::Value& object);
void WriteAudioLightInfo(Json::Value& object, const AudioLightInfo& audio);

}  // namespace norvane::sections
