#pragma once
// Reading a profile file so that its device entry can be replaced: whatever cannot hold a "Device" array is
// kept aside as ".bak" and replaced by an object, so that a repair never throws away a user's file.

#include <json/json.h>

#include <filesystem>
#include <string_view>

#include "platform/atomic_file.h"

namespace norvane {

// A profile file read for an update, and whether it may be overwritten.
struct ProfileDocumentForUpdate {
  // Always an object whose "Device" member, when present, is an array.
  Json::Value document;
  // Failure when the file had another shape and could not be kept aside: it must not be overwritten then.
  FileResult writable;
};

// Profile text read for an update, before anything touches its file.
struct ParsedProfileDocument {
  // Always an object whose "Device" member, when present, is an array.
  Json::Value document;
  // The text parsed but had another shape: the file is to be kept aside before it is replaced.
  bool keepAside = false;
};

// Parses text the way ReadProfileDocumentForUpdate reads a file; unparsable text gives an empty object.
ParsedProfileDocument ParseProfileDocumentForUpdate(std::string_view text);

// Reads the file at path ready for document["Device"][i] = entry. A file that parses but has another shape
// is kept aside as ".bak" first (unparsable files are kept aside by JsonFileUtil::WriteJsonValue).
ProfileDocumentForUpdate ReadProfileDocumentForUpdate(const std::filesystem::path& path);

// Sets "Device"[index] of a document prepared by ReadProfileDocumentForUpdate.
void PutDeviceEntry(Json::Value& document, std::int32_t index, const Json::Value& entry);

}  // namespace norvane
