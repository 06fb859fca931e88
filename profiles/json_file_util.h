#pragma once
// The one way every JSON file of the program is read and written. Reads are whole-file and tolerant (a
// missing, empty or unparsable file gives the null value); writes are atomic and report failure. A file
// that exists but does not parse is never overwritten: it is first kept aside as "<name>.bak".

#include <json/json.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/atomic_file.h"

namespace norvane {

// Where MakeTimeName takes the time from. Injected so that tests name profiles deterministically.
class TimeSource {
 public:
  virtual ~TimeSource() = default;
  virtual std::chrono::system_clock::time_point Now() const = 0;
  static const TimeSource& System();
};

class JsonFileUtil {
 public:
  JsonFileUtil() = default;
  explicit JsonFileUtil(const TimeSource& time) : time_(&time) {}

  // The whole file, or an empty string when it cannot be opened or read completely.
  std::string readjsonFile(const std::filesystem::path& path) const;

  // The parsed content; null when the file is missing, empty or does not parse. Comments are kept with
  // the values so that they survive the next write of the same document.
  Json::Value ReadJsonValue(const std::filesystem::path& path) const;

  // Parses text the way ReadJsonValue does; null when it does not parse. Never throws.
  static Json::Value ParseJson(std::string_view text);
  // True when text is one complete JSON document (the literal null included); value gets it.
  static bool TryParseJson(std::string_view text, Json::Value& value);

  // Replaces the file with the styled text of value and one newline. An existing file that does not parse
  // is kept aside as "<name>.bak" first. The old file stays intact when the write fails.
  FileResult WriteJsonValue(const std::filesystem::path& path, const Json::Value& value) const;

  // The styled text WriteJsonValue writes (three-space indentation, one trailing newline).
  static std::string StyledText(const Json::Value& value);

  // Copies path to "<path>.bak", replacing an older one. Used before a damaged file is repaired.
  static FileResult KeepAside(const std::filesystem::path& path);

  // Local time as "%d_%02d_%02d_%02d_%02d_%02d_%03d": year, month, day, hour, minute, second, millisecond.
  std::string MakeTimeName() const;
  static std::string MakeTimeName(std::chrono::system_clock::time_point when);

  // The file name without folder and extension.
  static std::string FileStem(const std::filesystem::path& path);

 private:
  const TimeSource* time_ = &TimeSource::System();
};

// Logs a failed file operation where the user's session log will have it.
void LogFileFailure(const FileResult& result);

}  // namespace norvane
