#pragma once
// "updatetime.config" in the user data folder: the date of the last update check,
//   { "updatelasttime": { "value": "2024-3-5" } }
// as year-month-day in local time without zero padding.

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/atomic_file.h"

namespace norvane::update {

// UserDataFolder() / "updatetime.config".
[[nodiscard]] std::filesystem::path UpdateTimeFile();

// The local date of `when` as the file keeps it ("%d-%d-%d").
[[nodiscard]] std::string DateText(std::chrono::system_clock::time_point when);
[[nodiscard]] std::string TodayText();

// The stored date; when the file is missing, unreadable or holds no date text, `today` is written into a
// new document (the old file is kept aside when it did not parse) and returned.
[[nodiscard]] std::string ReadOrStartUpdateTime(const std::filesystem::path& file, const std::string& today);

// Stores `date` as the last check.
FileResult WriteUpdateTime(const std::filesystem::path& file, const std::string& date);

}  // namespace norvane::update
