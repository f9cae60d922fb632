#include "fakes/SubPanelSpy.h"

#include <utility>

#include "core/ArnError.h"

namespace arn::test {

SubPanelSpy::SubPanelSpy(SubPanel& sub)
    : m_attaching(sub.Attaching.connect([this, &sub] {
          if (!m_attachFailure.empty()) {
              throw ArnError(vbObjectError + 1, sub.TypeName() + ".AttachControl",
                             std::exchange(m_attachFailure, std::string()));
          }
      })) {}

}  // namespace arn::test
