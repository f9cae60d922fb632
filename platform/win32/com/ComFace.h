#pragma once

#include <windows.h>

#include <oaidl.h>

#include <functional>
#include <memory>
#include <vector>

#include "core/AutomationObject.h"

namespace arn::win32 {

// A dispatch interface beside IDispatch (a dual interface's vtable, say) that a presented object
// hands out from its own QueryInterface, with the object's identity (a tear-off). The object makes
// it at the first request and owns it until its own end.
class ComFace {
  public:
    virtual ~ComFace() = default;

    // The interface pointer handed out for iid, one of the ids of the face's kind; the caller
    // AddRefs it. A face whose Presents() is not nullptr hands out an IDispatch.
    virtual void* Pointer(REFIID iid) = 0;
    // The automation object this face presents in its own right (a facet of the presented
    // object), or nullptr: a member result that is that object is handed out as this face, so
    // that it keeps the presented object's identity.
    virtual const AutomationObject* Presents() const { return nullptr; }
};

// One kind of face that the objects of a served class offer: the interface id it answers (and
// the further ids of alsoAnswers, for a face that implements several interfaces over one
// state), and how to make it for one object (outer is that object's IDispatch, borrowed). make
// answers nullptr for an object that does not offer the interface. The layer that serves the
// class registers its kinds with the class factory; the runtime itself knows none of them.
struct ComFaceKind {
    IID iid;
    std::function<std::unique_ptr<ComFace>(IDispatch* outer,
                                           const std::shared_ptr<AutomationObject>& object)>
        make;
    std::vector<IID> alsoAnswers = {};

    bool Answers(REFIID riid) const {
        if (IsEqualIID(riid, iid)) {
            return true;
        }
        for (const IID& other : alsoAnswers) {
            if (IsEqualIID(riid, other)) {
                return true;
            }
        }
        return false;
    }
};

}  // namespace arn::win32
