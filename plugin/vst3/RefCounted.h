#pragma once

#include "plugin/vst3/Vst3Base.h"

#include <atomic>
#include <cstdint>

namespace Korvatune::Vst3 {

// The reference count every object a host holds carries; the last release deletes it.
class RefCounted {
public:
    virtual ~RefCounted() = default;

protected:
    std::uint32_t addReference() { return count_.fetch_add(1, std::memory_order_relaxed) + 1; }
    std::uint32_t dropReference() {
        const std::uint32_t left = count_.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0) {
            delete this;
        }
        return left;
    }

private:
    std::atomic<std::uint32_t> count_{1};
};

// Hands out the object as Interface when iid names it, with a reference for the caller.
template <typename Interface, typename Object>
bool offerAs(Object* object, const char* iid, void** result) {
    if (!sameUid(iid, Interface::iid)) {
        return false;
    }
    object->addRef();
    *result = static_cast<Interface*>(object);
    return true;
}

} // namespace Korvatune::Vst3
