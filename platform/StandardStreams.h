#pragma once

namespace arn {

// Makes standard input and output carry bytes exactly as written, for a program whose output
// is registry text with its own CR LF line ends. Windows opens them in text mode, which would
// turn every LF into CR LF; on Linux they carry bytes already. Call before any I/O on them.
void UseBinaryStandardStreams();

}  // namespace arn
