#include "plugin/vst3/OwnMessage.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace Korvatune::Vst3 {

tresult OwnMessage::queryInterface(const char* iid, void** object) {
    if (object == nullptr) {
        return kInvalidArgument;
    }
    if (offerAs<IMessage>(this, iid, object) || offerAs<IAttributeList>(this, iid, object)) {
        return kResultOk;
    }
    if (sameUid(iid, FUnknown::iid)) {
        addRef();
        *object = static_cast<FUnknown*>(static_cast<IMessage*>(this));
        return kResultOk;
    }
    *object = nullptr;
    return kNoInterface;
}

template <typename Type> const Type* OwnMessage::find(AttrID id) const {
    if (id == nullptr) {
        return nullptr;
    }
    const auto found = attributes_.find(std::string_view(id));
    return found != attributes_.end() ? std::get_if<Type>(&found->second) : nullptr;
}

tresult OwnMessage::setInt(AttrID id, std::int64_t value) {
    if (id == nullptr) {
        return kInvalidArgument;
    }
    attributes_.insert_or_assign(id, value);
    return kResultOk;
}

tresult OwnMessage::getInt(AttrID id, std::int64_t& value) {
    const auto* found = find<std::int64_t>(id);
    if (found == nullptr) {
        return kResultFalse;
    }
    value = *found;
    return kResultOk;
}

tresult OwnMessage::setFloat(AttrID id, double value) {
    if (id == nullptr) {
        return kInvalidArgument;
    }
    attributes_.insert_or_assign(id, value);
    return kResultOk;
}

tresult OwnMessage::getFloat(AttrID id, double& value) {
    const auto* found = find<double>(id);
    if (found == nullptr) {
        return kResultFalse;
    }
    value = *found;
    return kResultOk;
}

tresult OwnMessage::setString(AttrID id, const char16* text) {
    if (id == nullptr || text == nullptr) {
        return kInvalidArgument;
    }
    attributes_.insert_or_assign(id, std::u16string(text));
    return kResultOk;
}

// Cut to the buffer, which always ends in a terminator.
tresult OwnMessage::getString(AttrID id, char16* text, std::uint32_t sizeInBytes) {
    const auto* found = find<std::u16string>(id);
    const std::size_t room = sizeInBytes / sizeof(char16);
    if (found == nullptr || text == nullptr || room == 0) {
        return kResultFalse;
    }
    const std::size_t length = std::min(found->size(), room - 1);
    std::copy_n(found->begin(), length, text);
    text[length] = u'\0';
    return kResultOk;
}

tresult OwnMessage::setBinary(AttrID id, const void* data, std::uint32_t sizeInBytes) {
    if (id == nullptr || (data == nullptr && sizeInBytes > 0)) {
        return kInvalidArgument;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    attributes_.insert_or_assign(id, std::vector<std::uint8_t>(bytes, bytes + sizeInBytes));
    return kResultOk;
}

tresult OwnMessage::getBinary(AttrID id, const void*& data, std::uint32_t& sizeInBytes) {
    const auto* found = find<std::vector<std::uint8_t>>(id);
    if (found == nullptr) {
        return kResultFalse;
    }
    data = found->data();
    sizeInBytes = static_cast<std::uint32_t>(found->size());
    return kResultOk;
}

} // namespace Korvatune::Vst3
