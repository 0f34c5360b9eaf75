#pragma once

#include "plugin/InstrumentEditor.h"
#include "plugin/vst3/RefCounted.h"
#include "plugin/vst3/Vst3View.h"

#include <cstdint>
#include <functional>
#include <optional>

#ifdef _WIN32
#include <windows.h>
#endif

namespace Korvatune::Vst3 {

// The instrument's editor in a host's window: an X11 window id on Linux, an HWND on Windows.
// The host's content scale sets the size it opens at, the editor's own choice of size asks the
// host's frame, and on Linux the host's run loop drives it through a timer. The same timer, a
// window timer on Windows, lets the controller look for changes beyond the parameters.
class Vst3EditorView final : public IPlugView,
                             public IPlugViewContentScaleSupport,
                             public ITimerHandler,
                             private RefCounted {
public:
    Vst3EditorView(InstrumentEditor& editor, EditListener& listener, std::function<void()> onIdle);

    tresult VST3_API queryInterface(const char* iid, void** object) override;
    std::uint32_t VST3_API addRef() override { return addReference(); }
    std::uint32_t VST3_API release() override { return dropReference(); }

    tresult VST3_API isPlatformTypeSupported(FIDString type) override;
    tresult VST3_API attached(void* parent, FIDString type) override;
    tresult VST3_API removed() override;
    tresult VST3_API onWheel(float) override { return kResultFalse; }
    tresult VST3_API onKeyDown(char16, std::int16_t, std::int16_t) override { return kResultFalse; }
    tresult VST3_API onKeyUp(char16, std::int16_t, std::int16_t) override { return kResultFalse; }
    tresult VST3_API getSize(ViewRect* size) override;
    tresult VST3_API onSize(ViewRect* newSize) override;
    tresult VST3_API onFocus(TBool) override { return kResultOk; }
    tresult VST3_API setFrame(IPlugFrame* frame) override;
    tresult VST3_API canResize() override { return kResultFalse; }
    tresult VST3_API checkSizeConstraint(ViewRect* rect) override;

    tresult VST3_API setContentScaleFactor(float factor) override;

    void VST3_API onTimer() override;

private:
    ~Vst3EditorView() override;

    bool open(void* parent);
    void close();
    // False once another view of the same controller has taken the editor over.
    bool ownsEditor() const;
    bool askHostToResize(int width, int height);
    void startTimer();
    void stopTimer();
#ifdef _WIN32
    static void CALLBACK onWindowTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
#endif

    InstrumentEditor& editor_;
    EditListener& listener_;
    std::function<void()> onIdle_;
#ifdef _WIN32
    bool windowTimer_ = false;
#endif
    IPlugFrame* frame_ = nullptr;
    IRunLoop* runLoop_ = nullptr;
    std::optional<double> hostScalePercent_;
    void* parent_ = nullptr;
    std::uintptr_t window_ = 0;
};

} // namespace Korvatune::Vst3
