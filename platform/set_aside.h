#pragma once
// Files the program cannot use are moved out of the way rather than overwritten, so that nothing the user
// had is lost and they can still look at it.

#include <filesystem>

namespace norvane {

// Renames file to "<file>.malformed", or ".malformed-2" up to ".malformed-100" when earlier copies exist;
// an earlier copy is never replaced. The new path, or an empty path when the file could not be moved (it is
// then left in place).
std::filesystem::path SetAside(const std::filesystem::path& file);

}  // namespace norvane
