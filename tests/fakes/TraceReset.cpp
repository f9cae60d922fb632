#include "fakes/TraceReset.h"

#include "support/DebuggingFlags.h"
#include "support/TraceState.h"

namespace arn::test {

void ResetTraceState() {
    SetDebugFlags(0);
    CloseLogFile();
    TraceState& st = detail::t_traceState;
    st.stopwatch.reset();
    st.previousMS = 0.0;
    st.dated = false;
}

}  // namespace arn::test
