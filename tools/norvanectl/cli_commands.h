#pragma once
// The commands of norvanectl. Each prints its result on stdout, one line per problem on stderr, and
// returns the process exit code.

#include "tools/norvanectl/cli_options.h"

namespace norvane::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure =
    1;                                // nothing connected, a device failed, an interface could not be opened
inline constexpr int kExitUsage = 2;  // the command line was not understood

int RunList(const CliOptions& options);
int RunInfo(const CliOptions& options);

}  // namespace norvane::cli
