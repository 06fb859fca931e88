#pragma once
// Reading a profile file so that its device entry can be replaced: whatever cannot hold a "Device" array is
// kept aside as ".bak" and replaced by an object, so that a repair never throws away a user's file.

#include <json/json.h>

#include <filesystem>

namespace norvane {

// The document at path ready for document["Device"][i] = entry: always an object whose "Device" member,
// when present, is an array. A file that parses but has another shape is kept aside first.
Json::Value ReadProfileDocumentForUpdate(const std::filesystem::path& path);

// Sets "Device"[index] of a document prepared by ReadProfileDocumentForUpdate.
void PutDeviceEntry(Json::Value& document, std::int32_t index, const Json::Value& entry);

}  // namespace norvane
