#include "update/update_service_address.h"

#include <algorithm>
#include <cstdlib>

#include "platform/ascii_text.h"
#include "platform/atomic_file.h"
#include "platform/xdg_paths.h"

namespace norvane::update {
namespace {

// The file holds one address; anything much larger is not ours.
constexpr std::size_t kMaxFileBytes = 16 * 1024;

UpdateServiceAddress FromText(std::string_view url, std::string_view source) {
  UpdateServiceAddress address;
  if (!IsUpdateBaseUrl(url)) {
    address.problem = std::string(source) + ": \"" + std::string(url) +
                      "\" is not an http or https address whose path ends in /api/";
    return address;
  }
  address.updatesUrl = std::string(url) + "updates";
  return address;
}

}  // namespace

std::filesystem::path UpdateServiceFile() {
  return ConfigFolder() / "update-service.ini";
}

bool IsUpdateBaseUrl(std::string_view url) {
  std::size_t schemeEnd = 0;
  if (StartsWithIgnoringAsciiCase(url, "http://")) {
    schemeEnd = 7;
  } else if (StartsWithIgnoringAsciiCase(url, "https://")) {
    schemeEnd = 8;
  } else {
    return false;
  }
  for (const char c : url) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7f || c == '?' || c == '#' || c == '\\') return false;
  }
  const std::size_t pathStart = url.find('/', schemeEnd);
  if (pathStart == std::string_view::npos || pathStart == schemeEnd) return false;  // no host
  const std::string_view path = url.substr(pathStart);
  return path.size() >= 5 && path.substr(path.size() - 5) == "/api/";
}

UpdateServiceAddress ReadUpdateServiceAddress(const std::filesystem::path& file,
                                              std::optional<std::string> environmentValue) {
  if (environmentValue && !environmentValue->empty()) {
    return FromText(TrimBlanks(*environmentValue), kUpdateUrlVariable);
  }
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return {};
  const auto size = std::filesystem::file_size(file, error);
  std::string bytes;
  if (error || size > kMaxFileBytes || !ReadWholeFile(file, bytes)) {
    return {{}, file.string() + " cannot be read"};
  }
  std::size_t start = 0;
  while (start <= bytes.size()) {
    const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
    const std::string_view line = TrimBlanks(std::string_view(bytes).substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.front() == '#' || line.front() == ';') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    if (TrimBlanks(line.substr(0, equals)) != "BASE_URL") continue;
    return FromText(TrimBlanks(line.substr(equals + 1)), file.string());
  }
  return {{}, file.string() + " names no BASE_URL"};
}

UpdateServiceAddress CurrentUpdateServiceAddress() {
  std::optional<std::string> environment;
  if (const char* value = std::getenv(kUpdateUrlVariable)) environment = value;
  return ReadUpdateServiceAddress(UpdateServiceFile(), environment);
}

}  // namespace norvane::update
