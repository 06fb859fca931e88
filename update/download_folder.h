#pragma once
// Where downloaded installers wait for their run: a folder of the user's own that nobody else can write
// to or swap, so that what runs is what was downloaded.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/atomic_file.h"

namespace norvane::update {

// CacheFolder() / "UpdateData" /.
[[nodiscard]] std::filesystem::path UpdateDataFolder();

// Makes `folder` (its parents as needed) and checks that it is a real folder, not a link, owned by this
// user, with no rights for anyone else (a folder of ours with wider rights is narrowed to 0700).
[[nodiscard]] FileResult PreparePrivateFolder(const std::filesystem::path& folder);

// The file an item's download goes to: `folder` / the item's own name (never the server's), with the
// extension of the download address's last path part when that is a short alphanumeric one. Characters
// that cannot be in a file name become "_".
[[nodiscard]] std::filesystem::path DownloadFileFor(const std::filesystem::path& folder, std::string_view name,
                                                    std::string_view url);

}  // namespace norvane::update
