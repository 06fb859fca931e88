#pragma once
// The question the update service answers: "is there something newer than version V of the model with key
// K?", asked with a form-encoded POST to the service's "updates" address, and its JSON answer.
//
// Request body: "app_key=<key>&version=<v>" in UTF-8 followed by one zero byte (the service expects the
// terminator, so Content-Length is the text length + 1); <v> is hexadecimal without leading zeros for
// firmware, decimal for the program. The answer is one JSON object:
//   {"name": ..., "version": "0103", "version_name": ..., "path": "<download address>", "device_id": 2}
// "version" is read in the same base as the request's. Anything else (no JSON, not an object, no "name",
// members of the wrong type) reads as "nothing newer".

#include <cstdint>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "update/update_info.h"

namespace norvane::update {

// The answer buffer the query reads into: answers are cut below this size.
inline constexpr std::size_t kUpdateAnswerBufferSize = 102400;

// The model's key: "NULL" for an entry whose version is unknown, else brand, first, model, type and second
// joined by "_" (numbers in decimal).
[[nodiscard]] std::string BuildAppKey(const UpdateEntry& entry);

// The request body, its terminating zero byte included.
[[nodiscard]] std::vector<std::uint8_t> BuildQueryBody(std::string_view appKey, std::int32_t version, bool hex);

// A version text as a number in `base` (16 or 10): leading blanks, an optional sign (and "0x" in base 16),
// then digits up to the first other character; no digits read as 0. Values beyond 32 bits are clamped.
[[nodiscard]] std::int32_t ReadVersionNumber(std::string_view text, int base);

// The record a query answer gives for an entry at `version`. `answer` is the body as received. When it is
// not a JSON object the record only carries its state (7) and an empty name.
[[nodiscard]] UpdateInfo ReadUpdateAnswer(std::string_view answer, std::int32_t version, bool hex);

// Asks the service at `updatesUrl` (the base address + "updates") about one model. The HTTP settings are
// reset first. A query that reached no server gives a record named kNoLinkServer; an empty or unreadable
// answer one with an empty name.
[[nodiscard]] UpdateInfo CheckForUpdate(const std::string& updatesUrl, std::string_view appKey,
                                        std::int32_t version, bool hex, std::stop_token stop = {});

// The program's installed version as the service knows it: the version text without its dots, read as a
// decimal number ("1.0.5" gives 105); 0 when it cannot be read.
[[nodiscard]] std::int32_t InstalledVersionFromText(std::string_view text);
// The same for this build's own version.
[[nodiscard]] std::int32_t GetInstalledVersion();
[[nodiscard]] std::string_view BuildVersionText();

}  // namespace norvane::update
