#pragma once

// A VST 3 host of the tests' own, on the module's declarations: it loads the bundle's binary as
// hosts do, makes the processor and the controller from its factory and plays the processor
// block by block. It joins the two parts through their connection points, as hosts do.

#include "plugin/vst3/Vst3Factory.h"
#include "plugin/vst3/Vst3Ids.h"
#include "plugin/vst3/Vst3Messages.h"
#include "vst3/HostObjects.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace Korvatune::testing {

// The bundle this build made: on Windows a copy beside the test program.
inline std::filesystem::path builtBundle() {
#ifdef _WIN32
    wchar_t program[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    return std::filesystem::path(std::wstring(program, length)).parent_path() / L"Ombrafell.vst3";
#else
    return OMBRAFELL_VST3_BUNDLE;
#endif
}

// The bundle under test: this build's, or the one the package check names.
inline std::filesystem::path bundleUnderTest() {
    const char* given = std::getenv("OMBRAFELL_TEST_VST3_BUNDLE");
    return given != nullptr && *given != '\0' ? std::filesystem::path(given) : builtBundle();
}

inline std::filesystem::path binaryIn(const std::filesystem::path& bundle) {
#ifdef _WIN32
    return bundle / "Contents" / (sizeof(void*) == 8 ? "x86_64-win" : "x86-win") / "Ombrafell.vst3";
#else
    return bundle / "Contents" / "x86_64-linux" / "Ombrafell.so";
#endif
}

// The binary, loaded and entered on construction, left and unloaded on destruction.
class LoadedModule {
public:
    using FactoryFunction = IPluginFactory*(VST3_API*)();

    explicit LoadedModule(const std::filesystem::path& bundle = bundleUnderTest()) {
#ifdef _WIN32
        handle_ = LoadLibraryW(binaryIn(bundle).wstring().c_str());
        auto enter = symbol<bool (*)()>("InitDll");
        entered_ = enter != nullptr && enter();
#else
        handle_ = dlopen(binaryIn(bundle).c_str(), RTLD_NOW | RTLD_LOCAL);
        auto enter = symbol<bool (*)(void*)>("ModuleEntry");
        entered_ = enter != nullptr && enter(handle_);
#endif
        getFactory_ = symbol<FactoryFunction>("GetPluginFactory");
    }
    ~LoadedModule() {
        if (handle_ == nullptr) {
            return;
        }
#ifdef _WIN32
        if (auto leave = symbol<bool (*)()>("ExitDll")) {
            leave();
        }
        FreeLibrary(handle_);
#else
        if (auto leave = symbol<bool (*)()>("ModuleExit")) {
            leave();
        }
        dlclose(handle_);
#endif
    }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    bool entered() const {
        return entered_;
    }
    IPluginFactory* factory() const {
        return getFactory_ != nullptr ? getFactory_() : nullptr;
    }

    template <typename Interface> Interface* create(const Uid& cid) const {
        void* object = nullptr;
        IPluginFactory* made = factory();
        if (made == nullptr ||
            made->createInstance(cid.data(), Interface::iid.data(), &object) != kResultOk) {
            return nullptr;
        }
        return static_cast<Interface*>(object);
    }

private:
    template <typename Function> Function symbol(const char* name) const {
        if (handle_ == nullptr) {
            return nullptr;
        }
#ifdef _WIN32
        return reinterpret_cast<Function>(
            reinterpret_cast<void (*)()>(GetProcAddress(handle_, name)));
#else
        return reinterpret_cast<Function>(dlsym(handle_, name));
#endif
    }

#ifdef _WIN32
    HMODULE handle_ = nullptr;
#else
    void* handle_ = nullptr;
#endif
    bool entered_ = false;
    FactoryFunction getFactory_ = nullptr;
};

// One of the module's classes from the shell linked into the test program, for tests that reach
// behind the interfaces; null when the factory makes none.
template <typename Interface> Interface* createLinked(const Uid& cid) {
    void* object = nullptr;
    if (moduleFactory()->createInstance(cid.data(), Interface::iid.data(), &object) != kResultOk) {
        return nullptr;
    }
    return static_cast<Interface*>(object);
}

template <typename Interface, typename From> Interface* queried(From* from) {
    void* object = nullptr;
    if (from == nullptr || from->queryInterface(Interface::iid.data(), &object) != kResultOk) {
        return nullptr;
    }
    return static_cast<Interface*>(object);
}

// A reference the test holds and gives back at the end of its scope.
template <typename Interface> struct Held {
    explicit Held(Interface* held = nullptr) : object(held) {}
    ~Held() {
        if (object != nullptr) {
            object->release();
        }
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    Interface* operator->() const { return object; }
    Interface* get() const { return object; }
    Interface* object;
};

// A processor set up, active and processing, rendering stereo blocks.
class Processor {
public:
    Processor(const LoadedModule& module, double sampleRate, std::int32_t maxBlock = 4096)
        : Processor(module.create<IComponent>(kProcessorUid), sampleRate, maxBlock) {}
    // Takes the one reference of a processor made elsewhere.
    Processor(IComponent* made, double sampleRate, std::int32_t maxBlock = 4096)
        : component(made), audio(queried<IAudioProcessor>(component.get())) {
        if (component.get() == nullptr || audio.get() == nullptr) {
            return;
        }
        component->initialize(nullptr);
        ProcessSetup setup{0, kSample32, maxBlock, sampleRate};
        ready = audio->setupProcessing(setup) == kResultOk;
        component->setActive(1);
        audio->setProcessing(1);
    }
    ~Processor() {
        if (component.get() != nullptr) {
            audio->setProcessing(0);
            component->setActive(0);
            component->terminate();
        }
    }
    Processor(const Processor&) = delete;
    Processor& operator=(const Processor&) = delete;

    // One block with the events and changes given, appended to left and right.
    void render(std::int32_t frames, EventList* events = nullptr,
                ParameterChanges* changes = nullptr) {
        block.assign(2 * static_cast<std::size_t>(frames), 1.0f);
        float* channels[] = {block.data(), block.data() + frames};
        AudioBusBuffers output{};
        output.numChannels = 2;
        output.channelBuffers32 = channels;
        ProcessData data{};
        data.symbolicSampleSize = kSample32;
        data.numSamples = frames;
        data.numOutputs = 1;
        data.outputs = &output;
        data.inputParameterChanges = changes;
        data.inputEvents = events;
        lastResult = audio->process(data);
        left.insert(left.end(), block.begin(), block.begin() + frames);
        right.insert(right.end(), block.begin() + frames, block.end());
    }

    std::vector<std::uint8_t> savedState() {
        MemoryStream stream;
        component->getState(&stream);
        return stream.bytes;
    }

    Held<IComponent> component;
    Held<IAudioProcessor> audio;
    bool ready = false;
    tresult lastResult = kResultOk;
    std::vector<float> block;
    std::vector<float> left;
    std::vector<float> right;
};

// A controller, initialized, with a handler that records its edits.
class Controller {
public:
    explicit Controller(const LoadedModule& module)
        : Controller(module.create<IEditController>(kControllerUid)) {}
    // Takes the one reference of a controller made elsewhere; the host's context is optional.
    explicit Controller(IEditController* made, FUnknown* context = nullptr)
        : edit(made), units(queried<IUnitInfo>(edit.get())),
          midi(queried<IMidiMapping>(edit.get())) {
        if (edit.get() != nullptr) {
            edit->initialize(context);
            edit->setComponentHandler(&handler);
        }
    }
    ~Controller() {
        if (edit.get() != nullptr) {
            edit->setComponentHandler(nullptr);
            edit->terminate();
        }
    }
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    std::string valueText(ParamID id, ParamValue value) {
        String128 text{};
        return edit->getParamStringByValue(id, value, text) == kResultOk ? testing::text(text)
                                                                         : "(refused)";
    }

    RecordingHandler handler;
    Held<IEditController> edit;
    Held<IUnitInfo> units;
    Held<IMidiMapping> midi;
};

// The two parts told of each other after their initialization and parted before their end.
class Connection {
public:
    Connection(Processor& processor, Controller& controller)
        : processorPoint(queried<IConnectionPoint>(processor.component.get())),
          controllerPoint(queried<IConnectionPoint>(controller.edit.get())) {
        if (processorPoint.get() != nullptr && controllerPoint.get() != nullptr) {
            connected = processorPoint->connect(controllerPoint.get()) == kResultOk &&
                        controllerPoint->connect(processorPoint.get()) == kResultOk;
        }
    }
    ~Connection() {
        if (connected) {
            controllerPoint->disconnect(processorPoint.get());
            processorPoint->disconnect(controllerPoint.get());
        }
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Held<IConnectionPoint> processorPoint;
    Held<IConnectionPoint> controllerPoint;
    bool connected = false;
};

} // namespace Korvatune::testing
