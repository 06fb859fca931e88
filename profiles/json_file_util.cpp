#include "profiles/json_file_util.h"

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <system_error>

#include "platform/trace.h"

namespace norvane {
namespace {

class SystemTimeSource final : public TimeSource {
 public:
  std::chrono::system_clock::time_point Now() const override { return std::chrono::system_clock::now(); }
};

// Deep nesting is never legitimate in our files and would exhaust the stack of the styled writer.
constexpr int kMaxNesting = 256;

// No file of ours comes near this; a larger one is treated as unreadable rather than loaded into memory.
constexpr std::uintmax_t kMaxJsonFileBytes = 64u << 20;

bool IsOversized(const std::filesystem::path& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  return !error && size > kMaxJsonFileBytes;
}

bool ExistsButDoesNotParse(const std::filesystem::path& path) {
  if (IsOversized(path)) return true;
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  if (bytes.find_first_not_of(" \t\r\n") == std::string::npos) return false;
  Json::Value ignored;
  return !JsonFileUtil::TryParseJson(bytes, ignored);
}

}  // namespace

const TimeSource& TimeSource::System() {
  static const SystemTimeSource source;
  return source;
}

std::string JsonFileUtil::readjsonFile(const std::filesystem::path& path) const {
  if (IsOversized(path)) return {};
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return {};
  return bytes;
}

Json::Value JsonFileUtil::ParseJson(std::string_view text) {
  Json::Value value;
  if (!TryParseJson(text, value)) return Json::Value();
  return value;
}

bool JsonFileUtil::TryParseJson(std::string_view text, Json::Value& value) {
  value = Json::Value();
  if (text.empty()) return false;
  // One reader per thread: building one costs more than parsing a small file. It keeps no state from one
  // parse to the next. Its error text is never asked for: formatting it is the dearest part of a failure.
  thread_local const std::unique_ptr<Json::CharReader> reader = [] {
    Json::CharReaderBuilder builder;
    builder["collectComments"] = true;
    builder["stackLimit"] = kMaxNesting;
    return std::unique_ptr<Json::CharReader>(builder.newCharReader());
  }();
  try {
    if (reader->parse(text.data(), text.data() + text.size(), &value, nullptr)) return true;
  } catch (const std::exception&) {
    // jsoncpp reports an exceeded nesting limit by throwing.
  }
  value = Json::Value();
  return false;
}

Json::Value JsonFileUtil::ReadJsonValue(const std::filesystem::path& path) const {
  const std::string text = readjsonFile(path);
  if (text.empty()) {
    Trace("ReadJsonValue: nothing to read in " + path.string());
    return Json::Value();
  }
  return ParseJson(text);
}

std::string JsonFileUtil::StyledText(const Json::Value& value) {
  // The styled layout (three-space indentation, comments kept), with text written as UTF-8 rather than
  // as \u escapes so that names stay readable in the file.
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "   ";
  builder["commentStyle"] = "All";
  builder["emitUTF8"] = true;
  std::string text = Json::writeString(builder, value);
  if (text.empty() || text.back() != '\n') text.push_back('\n');
  return text;
}

FileResult JsonFileUtil::KeepAside(const std::filesystem::path& path) {
  std::filesystem::path backup = path;
  backup += ".bak";
  // A copy rather than a rename: the damaged file stays in place until its replacement is complete.
  FileResult copied = CopyFileAtomically(path, backup);
  if (!copied) {
    return FileResult::Failure("Cannot keep the damaged file \"" + path.string() +
                               "\" aside: " + copied.error);
  }
  Trace("Kept the unreadable file " + path.string() + " aside as " + backup.string());
  return FileResult::Success();
}

FileResult JsonFileUtil::WriteJsonValue(const std::filesystem::path& path, const Json::Value& value) const {
  if (ExistsButDoesNotParse(path)) {
    if (FileResult kept = KeepAside(path); !kept) {
      LogFileFailure(kept);
      return kept;
    }
  }
  FileResult result = WriteFileAtomically(path, StyledText(value));
  if (!result) LogFileFailure(result);
  return result;
}

std::string JsonFileUtil::MakeTimeName() const {
  return MakeTimeName(time_->Now());
}

std::string JsonFileUtil::MakeTimeName(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  const auto since_second = when - std::chrono::system_clock::from_time_t(seconds);
  long long milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(since_second).count();
  if (milliseconds < 0 || milliseconds > 999) milliseconds = 0;
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[64];
  std::snprintf(text, sizeof text, "%d_%02d_%02d_%02d_%02d_%02d_%03lld", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, milliseconds);
  return text;
}

std::string JsonFileUtil::FileStem(const std::filesystem::path& path) {
  return path.stem().string();
}

void LogFileFailure(const FileResult& result) {
  if (result) return;
  std::fprintf(stderr, "norvane: %s\n", result.error.c_str());
  Trace(result.error);
}

}  // namespace norvane
