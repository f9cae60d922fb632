#pragma once

#include <cstdint>
#include <memory>

#include "host/values/Value.h"

namespace arn {

// One motor node. Every call may throw ArnError.
class Node {
  public:
    virtual ~Node() = default;
    virtual bool ParamExists(int32_t number) = 0;
    // The parameter as a value object: the same object on every call for the node's lifetime
    // (subscribers rely on it). Raises ArnError when the node lacks the parameter.
    virtual std::shared_ptr<Value> Param(int32_t number) = 0;
    // True while the drive is busy (enabled or moving), so enabling it now cannot start a move.
    virtual bool QueryState() = 0;
};

}  // namespace arn
