#pragma once

#include "plugin/vst3/RefCounted.h"
#include "plugin/vst3/Vst3Messages.h"

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace Korvatune::Vst3 {

// A message for hosts that make none: it is its own attribute list. Made with one reference.
class OwnMessage final : public IMessage, public IAttributeList, private RefCounted {
public:
    tresult VST3_API queryInterface(const char* iid, void** object) override;
    std::uint32_t VST3_API addRef() override { return addReference(); }
    std::uint32_t VST3_API release() override { return dropReference(); }

    FIDString VST3_API getMessageID() override { return id_.c_str(); }
    void VST3_API setMessageID(FIDString id) override { id_ = id != nullptr ? id : ""; }
    IAttributeList* VST3_API getAttributes() override { return this; }

    tresult VST3_API setInt(AttrID id, std::int64_t value) override;
    tresult VST3_API getInt(AttrID id, std::int64_t& value) override;
    tresult VST3_API setFloat(AttrID id, double value) override;
    tresult VST3_API getFloat(AttrID id, double& value) override;
    tresult VST3_API setString(AttrID id, const char16* text) override;
    tresult VST3_API getString(AttrID id, char16* text, std::uint32_t sizeInBytes) override;
    tresult VST3_API setBinary(AttrID id, const void* data, std::uint32_t sizeInBytes) override;
    tresult VST3_API getBinary(AttrID id, const void*& data, std::uint32_t& sizeInBytes) override;

private:
    ~OwnMessage() override = default;

    using Value = std::variant<std::int64_t, double, std::u16string, std::vector<std::uint8_t>>;
    template <typename Type> const Type* find(AttrID id) const;

    std::string id_;
    std::map<std::string, Value, std::less<>> attributes_;
};

} // namespace Korvatune::Vst3
