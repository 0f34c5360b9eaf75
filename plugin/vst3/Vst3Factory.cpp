#include "plugin/vst3/Vst3Factory.h"

#include "plugin/Identity.h"
#include "plugin/vst3/ModuleFolder.h"
#include "plugin/vst3/Vst3Controller.h"
#include "plugin/vst3/Vst3Ids.h"
#include "plugin/vst3/Vst3Processor.h"
#include "plugin/vst3/Vst3Text.h"

#include <cstring>
#include <new>

namespace Korvatune::Vst3 {

namespace {

struct ClassDescription {
    const Uid& uid;
    const char* category;
    const char* subCategories;
};

const ClassDescription kClasses[] = {
    {kProcessorUid, kAudioModuleCategory, kSubCategories},
    {kControllerUid, kControllerCategory, ""},
};
constexpr std::int32_t kClassCount = 2;

template <typename Info> void describeCommon(const ClassDescription& description, Info& info) {
    std::memcpy(info.cid, description.uid.data(), description.uid.size());
    info.cardinality = PClassInfo::kManyInstances;
    copyText(description.category, info.category);
}

// Made with one reference, which the query hands over or the release takes back.
template <typename Object> tresult create(const char* iid, void** object) {
    Object* instance = new (std::nothrow) Object(bundleResourcesFolder());
    if (instance == nullptr) {
        return kNoInterface;
    }
    const tresult result = instance->queryInterface(iid, object);
    instance->release();
    return result;
}

class Factory final : public IPluginFactory3 {
public:
    tresult VST3_API queryInterface(const char* iid, void** object) override {
        if (object == nullptr) {
            return kInvalidArgument;
        }
        if (sameUid(iid, FUnknown::iid) || sameUid(iid, IPluginFactory::iid) ||
            sameUid(iid, IPluginFactory2::iid) || sameUid(iid, IPluginFactory3::iid)) {
            *object = this;
            return kResultOk;
        }
        *object = nullptr;
        return kNoInterface;
    }
    std::uint32_t VST3_API addRef() override { return 1; }
    std::uint32_t VST3_API release() override { return 1; }

    tresult VST3_API getFactoryInfo(PFactoryInfo* info) override {
        if (info == nullptr) {
            return kInvalidArgument;
        }
        *info = {};
        copyText(kVendorName, info->vendor);
        info->flags = PFactoryInfo::kUnicode;
        return kResultOk;
    }

    std::int32_t VST3_API countClasses() override { return kClassCount; }

    tresult VST3_API getClassInfo(std::int32_t index, PClassInfo* info) override {
        if (info == nullptr || index < 0 || index >= kClassCount) {
            return kInvalidArgument;
        }
        *info = {};
        describeCommon(kClasses[index], *info);
        copyText(kEffectName, info->name);
        return kResultOk;
    }

    tresult VST3_API getClassInfo2(std::int32_t index, PClassInfo2* info) override {
        if (info == nullptr || index < 0 || index >= kClassCount) {
            return kInvalidArgument;
        }
        *info = {};
        describeCommon(kClasses[index], *info);
        copyText(kEffectName, info->name);
        copyText(kClasses[index].subCategories, info->subCategories);
        copyText(kVendorName, info->vendor);
        copyText(kVersionText, info->version);
        copyText(kInterfaceVersion, info->sdkVersion);
        return kResultOk;
    }

    tresult VST3_API getClassInfoUnicode(std::int32_t index, PClassInfoW* info) override {
        if (info == nullptr || index < 0 || index >= kClassCount) {
            return kInvalidArgument;
        }
        *info = {};
        describeCommon(kClasses[index], *info);
        copyToUtf16(kEffectName, info->name);
        copyText(kClasses[index].subCategories, info->subCategories);
        copyToUtf16(kVendorName, info->vendor);
        copyToUtf16(kVersionText, info->version);
        copyToUtf16(kInterfaceVersion, info->sdkVersion);
        return kResultOk;
    }

    tresult VST3_API createInstance(const char* cid, const char* iid, void** object) override {
        if (object == nullptr) {
            return kInvalidArgument;
        }
        *object = nullptr;
        try {
            if (sameUid(cid, kProcessorUid)) {
                return create<Vst3Processor>(iid, object);
            }
            if (sameUid(cid, kControllerUid)) {
                return create<Vst3Controller>(iid, object);
            }
        } catch (...) {
            return kNoInterface;
        }
        return kNoInterface;
    }

    tresult VST3_API setHostContext(FUnknown*) override { return kResultOk; }
};

} // namespace

IPluginFactory3* moduleFactory() {
    static Factory factory;
    return &factory;
}

} // namespace Korvatune::Vst3
