#pragma once

namespace arn::test {

// Returns the calling thread's trace to the state of a thread that has not traced yet: flag
// word 0, no stopwatch, previous time 0, log closed.
void ResetTraceState();

}  // namespace arn::test
