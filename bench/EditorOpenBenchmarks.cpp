#include "ScratchLibrary.h"
#include "editor/DrawTestEditor.h"
#include "plugin/VstXSynth.h"
#include "plugin/vst2/EntryPoint.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace Korvatune::bench {
namespace {

VstIntPtr editorHost(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// An instance with program 0, as a host has it when the user opens its editor.
class Instance {
public:
    Instance() : effect_(VSTPluginMain(editorHost)) {}
    ~Instance() { effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0.0f); }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    DrawTestEditor& editor() {
        return *drawTestEditorOf(*dynamic_cast<VstXSynth*>(AudioEffect::fromAeffect(effect_)));
    }

    // Everything up to the first picture the window shows.
    void openAndDraw(Gui::Scale scale) {
        editor().openOffscreen(scale);
        editor().idle();
        benchmark::DoNotOptimize(editor().getFrame()->redrawDirty());
    }

private:
    AEffect* effect_;
};

// No other editor holds the images of the size, so every opening draws them.
void editorFirstOpen(benchmark::State& state) {
    const Gui::Scale scale(static_cast<int>(state.range(0)));
    Instance instance;
    for (auto _ : state) {
        instance.openAndDraw(scale);
        instance.editor().close();
    }
}

// Another instance's editor is open at the size, so its images are drawn already.
void editorLaterOpen(benchmark::State& state) {
    const Gui::Scale scale(static_cast<int>(state.range(0)));
    Instance first;
    first.openAndDraw(scale);
    Instance later;
    for (auto _ : state) {
        later.openAndDraw(scale);
        later.editor().close();
    }
}

// A click on the program name with 1000 files in the library: the folders listed, each file's
// start read, the menu built and drawn.
void programListWithAThousandFiles(benchmark::State& state) {
    setenv("OMBRAFELL_LIBRARY", scratchLibrary().folder().c_str(), 1);
    Instance instance;
    instance.openAndDraw(Gui::Scale{});
    Gui::Frame& frame = *instance.editor().getFrame();
    // The program name's middle on the Synth page, which starts at (49, 48).
    const Gui::Point name{565 + 49, 279 + 48};
    for (auto _ : state) {
        frame.handleMouseDown({name, Gui::MouseButton::Left});
        frame.handleMouseUp({name, Gui::MouseButton::Left});
        benchmark::DoNotOptimize(frame.redrawDirty());
        frame.closePopup();
    }
    unsetenv("OMBRAFELL_LIBRARY");
}

void everySize(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgName("percent")->Unit(benchmark::kMillisecond);
    for (const int percent : Gui::kOfferedScalePercents) {
        benchmark->Arg(percent);
    }
}

} // namespace

BENCHMARK(editorFirstOpen)->Apply(everySize);
BENCHMARK(editorLaterOpen)->Apply(everySize);
BENCHMARK(programListWithAThousandFiles)->Unit(benchmark::kMillisecond);

} // namespace Korvatune::bench
