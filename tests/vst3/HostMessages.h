#pragma once

// The host's side of the talk between the two parts: its application object, which makes the
// messages, and those messages, which carry binary attributes only, all the module sends.

#include "plugin/vst3/Vst3Messages.h"

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Korvatune::testing {

using namespace Vst3;

// Lives as long as the application that made it, which keeps every one.
class HostMessage : public IMessage, public IAttributeList {
public:
    tresult VST3_API queryInterface(const char* iid, void** object) override {
        if (sameUid(iid, IMessage::iid) || sameUid(iid, FUnknown::iid)) {
            *object = static_cast<IMessage*>(this);
            return kResultOk;
        }
        if (sameUid(iid, IAttributeList::iid)) {
            *object = static_cast<IAttributeList*>(this);
            return kResultOk;
        }
        *object = nullptr;
        return kNoInterface;
    }
    std::uint32_t VST3_API addRef() override { return 1; }
    std::uint32_t VST3_API release() override { return 1; }

    FIDString VST3_API getMessageID() override { return id.c_str(); }
    void VST3_API setMessageID(FIDString given) override { id = given; }
    IAttributeList* VST3_API getAttributes() override { return this; }

    tresult VST3_API setInt(AttrID, std::int64_t) override { return kNotImplemented; }
    tresult VST3_API getInt(AttrID, std::int64_t&) override { return kResultFalse; }
    tresult VST3_API setFloat(AttrID, double) override { return kNotImplemented; }
    tresult VST3_API getFloat(AttrID, double&) override { return kResultFalse; }
    tresult VST3_API setString(AttrID, const char16*) override { return kNotImplemented; }
    tresult VST3_API getString(AttrID, char16*, std::uint32_t) override { return kResultFalse; }
    tresult VST3_API setBinary(AttrID key, const void* data, std::uint32_t size) override {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        binaries[key].assign(bytes, bytes + size);
        return kResultOk;
    }
    tresult VST3_API getBinary(AttrID key, const void*& data, std::uint32_t& size) override {
        const auto found = binaries.find(key);
        if (found == binaries.end()) {
            return kResultFalse;
        }
        data = found->second.data();
        size = static_cast<std::uint32_t>(found->second.size());
        return kResultOk;
    }

    std::string id;
    std::map<std::string, std::vector<std::uint8_t>> binaries;
};

class HostApplication : public IHostApplication {
public:
    tresult VST3_API queryInterface(const char* iid, void** object) override {
        if (sameUid(iid, IHostApplication::iid) || sameUid(iid, FUnknown::iid)) {
            *object = static_cast<IHostApplication*>(this);
            return kResultOk;
        }
        *object = nullptr;
        return kNoInterface;
    }
    std::uint32_t VST3_API addRef() override { return 1; }
    std::uint32_t VST3_API release() override { return 1; }

    tresult VST3_API getName(String128 name) override {
        name[0] = u'\0';
        return kResultOk;
    }
    tresult VST3_API createInstance(char* cid, char* iid, void** object) override {
        if (!sameUid(cid, IMessage::iid) || !sameUid(iid, IMessage::iid)) {
            *object = nullptr;
            return kNoInterface;
        }
        messages.push_back(std::make_unique<HostMessage>());
        *object = static_cast<IMessage*>(messages.back().get());
        return kResultOk;
    }

    std::vector<std::unique_ptr<HostMessage>> messages;
};

} // namespace Korvatune::testing
