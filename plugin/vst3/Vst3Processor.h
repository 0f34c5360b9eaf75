#pragma once

#include "plugin/Instrument.h"
#include "plugin/vst3/RefCounted.h"
#include "plugin/vst3/Vst3Messages.h"
#include "plugin/vst3/Vst3Processing.h"

#include <memory>
#include <string>

namespace Korvatune::Vst3 {

// The instrument's processing part: one event input, one stereo output, the automation of its
// parameters and the state record. It runs alone or beside the controller, which it tells
// hosts of only by its class id and from which it hears, through the host's connection, of
// what the editor changed beyond the parameters.
class Vst3Processor final : public IComponent,
                            public IAudioProcessor,
                            public IConnectionPoint,
                            private RefCounted {
public:
    explicit Vst3Processor(const std::string& installFolder);

    tresult VST3_API queryInterface(const char* iid, void** object) override;
    std::uint32_t VST3_API addRef() override { return addReference(); }
    std::uint32_t VST3_API release() override { return dropReference(); }

    tresult VST3_API initialize(FUnknown* context) override;
    tresult VST3_API terminate() override;

    tresult VST3_API getControllerClassId(char* classId) override;
    tresult VST3_API setIoMode(std::int32_t mode) override;
    std::int32_t VST3_API getBusCount(std::int32_t type, std::int32_t direction) override;
    tresult VST3_API getBusInfo(std::int32_t type, std::int32_t direction, std::int32_t index,
                                BusInfo& bus) override;
    tresult VST3_API getRoutingInfo(RoutingInfo& in, RoutingInfo& out) override;
    tresult VST3_API activateBus(std::int32_t type, std::int32_t direction, std::int32_t index,
                                 TBool state) override;
    tresult VST3_API setActive(TBool state) override;
    tresult VST3_API setState(IBStream* state) override;
    tresult VST3_API getState(IBStream* state) override;

    tresult VST3_API setBusArrangements(SpeakerArrangement* inputs, std::int32_t inCount,
                                        SpeakerArrangement* outputs,
                                        std::int32_t outCount) override;
    tresult VST3_API getBusArrangement(std::int32_t direction, std::int32_t index,
                                       SpeakerArrangement& arrangement) override;
    tresult VST3_API canProcessSampleSize(std::int32_t symbolicSampleSize) override;
    std::uint32_t VST3_API getLatencySamples() override { return 0; }
    tresult VST3_API setupProcessing(ProcessSetup& setup) override;
    tresult VST3_API setProcessing(TBool) override { return kResultOk; }
    tresult VST3_API process(ProcessData& data) override;
    std::uint32_t VST3_API getTailSamples() override { return 0; }

    tresult VST3_API connect(IConnectionPoint* other) override;
    tresult VST3_API disconnect(IConnectionPoint* other) override;
    tresult VST3_API notify(IMessage* message) override;

private:
    ~Vst3Processor() override;

    static bool isBus(std::int32_t type, std::int32_t direction, std::int32_t index);

    std::unique_ptr<Instrument> instrument_;
};

} // namespace Korvatune::Vst3
