#include "platform/StandardStreams.h"

namespace arn {

void UseBinaryStandardStreams() {}

}  // namespace arn
