#pragma once

#include <cstdint>

namespace arn {

// The motion interface of a node: std::dynamic_pointer_cast<Motion>(node) on the node object.
// Every call may throw ArnError.
class Motion {
  public:
    virtual ~Motion() = default;
    virtual double get_AccelLimit() = 0;
    virtual void put_AccelLimit(double v) = 0;
    virtual double get_DecelLimit() = 0;
    virtual void put_DecelLimit(double v) = 0;
    // Starts a velocity move; a negative velocity runs in reverse. The trailing arguments are
    // passed as 0 by every caller.
    virtual void MoveVelocity(double velocity, double arg2 = 0, double arg3 = 0) = 0;
    // Stops the node; code 65 ends a jog.
    virtual void NodeStop(int32_t code) = 0;
};

}  // namespace arn
