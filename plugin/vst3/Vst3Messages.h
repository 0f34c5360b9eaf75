#pragma once

// The VST 3 binary interface by which the two parts of an instance talk past the host's
// parameters: connection points, the messages they pass with their attribute lists, and the
// host's application object that makes those messages.

#include "plugin/vst3/Vst3Base.h"

namespace Korvatune::Vst3 {

class IAttributeList : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x1E5F0AEB, 0xCC7F4533, 0xA2544011, 0x38AD5EE4);
    using AttrID = const char*;
    virtual tresult VST3_API setInt(AttrID id, std::int64_t value) = 0;
    virtual tresult VST3_API getInt(AttrID id, std::int64_t& value) = 0;
    virtual tresult VST3_API setFloat(AttrID id, double value) = 0;
    virtual tresult VST3_API getFloat(AttrID id, double& value) = 0;
    virtual tresult VST3_API setString(AttrID id, const char16* text) = 0;
    // The size is the buffer's in bytes, not in characters.
    virtual tresult VST3_API getString(AttrID id, char16* text, std::uint32_t sizeInBytes) = 0;
    virtual tresult VST3_API setBinary(AttrID id, const void* data, std::uint32_t sizeInBytes) = 0;
    virtual tresult VST3_API getBinary(AttrID id, const void*& data,
                                       std::uint32_t& sizeInBytes) = 0;

protected:
    ~IAttributeList() = default;
};

class IMessage : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x936F033B, 0xC6C047DB, 0xBB0882F8, 0x13C1E613);
    virtual FIDString VST3_API getMessageID() = 0;
    virtual void VST3_API setMessageID(FIDString id) = 0;
    virtual IAttributeList* VST3_API getAttributes() = 0;

protected:
    ~IMessage() = default;
};

// Calls come on the host's UI thread; a host may put a proxy between the two points.
class IConnectionPoint : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);
    virtual tresult VST3_API connect(IConnectionPoint* other) = 0;
    virtual tresult VST3_API disconnect(IConnectionPoint* other) = 0;
    virtual tresult VST3_API notify(IMessage* message) = 0;

protected:
    ~IConnectionPoint() = default;
};

// What a host passes to initialize. Messages are made through createInstance with IMessage's
// id as both the class and the interface.
class IHostApplication : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);
    virtual tresult VST3_API getName(String128 name) = 0;
    virtual tresult VST3_API createInstance(char* cid, char* iid, void** object) = 0;

protected:
    ~IHostApplication() = default;
};

} // namespace Korvatune::Vst3
