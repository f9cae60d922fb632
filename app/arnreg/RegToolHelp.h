#pragma once

namespace arn {

// arnreg's --help text: commands, options, where the database is, and the exit statuses.
const char* RegToolHelp();

}  // namespace arn
