#pragma once
// Where the update service is. Its base address is configuration: the environment variable
// NORVANE_UPDATE_URL when set, else the file ConfigFolder() + "update-service.ini":
//
//   # comment
//   BASE_URL=https://updates.example.org/api/
//
// A base address is an http or https URL with a host whose path ends in "/api/" (no query, no fragment,
// no spaces); the service's question goes to the base address + "updates". With neither set, no service
// is configured and the program says so instead of asking anyone.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace norvane::update {

inline constexpr const char* kUpdateUrlVariable = "NORVANE_UPDATE_URL";

// ConfigFolder() / "update-service.ini".
[[nodiscard]] std::filesystem::path UpdateServiceFile();

// True for a usable base address (see above).
[[nodiscard]] bool IsUpdateBaseUrl(std::string_view url);

struct UpdateServiceAddress {
  std::string updatesUrl;  // the base address + "updates"; empty when none is configured or usable
  std::string problem;     // why a configured address is not used (for the trace and stderr)
};

// The address from `environmentValue` (the variable's value, nullopt when unset) or else from `file`.
[[nodiscard]] UpdateServiceAddress ReadUpdateServiceAddress(const std::filesystem::path& file,
                                                            std::optional<std::string> environmentValue);
// The same from the process environment and the user's file.
[[nodiscard]] UpdateServiceAddress CurrentUpdateServiceAddress();

}  // namespace norvane::update
