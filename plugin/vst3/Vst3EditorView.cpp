#include "plugin/vst3/Vst3EditorView.h"

#include "plugin/vst3/EditorViewFactory.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace Korvatune::Vst3 {

namespace {

#ifdef _WIN32
constexpr const char* kPlatformType = kPlatformTypeHWND;
#else
constexpr const char* kPlatformType = kPlatformTypeX11EmbedWindowID;
#endif

// About 30 frames a second, as the editor's own window timer on Windows.
constexpr std::uint64_t kIdleMilliseconds = 33;

} // namespace

IPlugView* createEditorView(InstrumentEditor& editor, EditListener& listener,
                            std::function<void()> onIdle) {
    return new Vst3EditorView(editor, listener, std::move(onIdle));
}

Vst3EditorView::Vst3EditorView(InstrumentEditor& editor, EditListener& listener,
                               std::function<void()> onIdle)
    : editor_(editor), listener_(listener), onIdle_(std::move(onIdle)) {}

Vst3EditorView::~Vst3EditorView() {
    close();
}

tresult Vst3EditorView::queryInterface(const char* iid, void** object) {
    if (object == nullptr) {
        return kInvalidArgument;
    }
    if (offerAs<IPlugView>(this, iid, object) ||
        offerAs<IPlugViewContentScaleSupport>(this, iid, object) ||
        offerAs<ITimerHandler>(this, iid, object)) {
        return kResultOk;
    }
    if (sameUid(iid, FUnknown::iid)) {
        addRef();
        *object = static_cast<FUnknown*>(static_cast<IPlugView*>(this));
        return kResultOk;
    }
    *object = nullptr;
    return kNoInterface;
}

tresult Vst3EditorView::isPlatformTypeSupported(FIDString type) {
    return type != nullptr && std::strcmp(type, kPlatformType) == 0 ? kResultTrue : kResultFalse;
}

tresult Vst3EditorView::attached(void* parent, FIDString type) {
    if (parent == nullptr || isPlatformTypeSupported(type) != kResultTrue || window_ != 0) {
        return kResultFalse;
    }
    if (!open(parent)) {
        return kResultFalse;
    }
    startTimer();
    return kResultOk;
}

tresult Vst3EditorView::removed() {
    close();
    return kResultOk;
}

// A view that fails to open leaves no resize function of its host behind in the editor.
bool Vst3EditorView::open(void* parent) {
    editor_.setHostResize([this](int width, int height) { return askHostToResize(width, height); });
    if (!editor_.openIn(parent, hostScalePercent_)) {
        editor_.setHostResize({});
        return false;
    }
    parent_ = parent;
    window_ = editor_.windowHandle();
    editor_.setEditListener(&listener_);
    const EditorSize size = editor_.size();
    askHostToResize(size.width, size.height);
    return true;
}

void Vst3EditorView::close() {
    stopTimer();
    if (ownsEditor()) {
        editor_.setEditListener(nullptr);
        editor_.setHostResize({});
        editor_.close();
    }
    window_ = 0;
    parent_ = nullptr;
}

bool Vst3EditorView::ownsEditor() const {
    return window_ != 0 && editor_.windowHandle() == window_;
}

bool Vst3EditorView::askHostToResize(int width, int height) {
    if (frame_ == nullptr) {
        return false;
    }
    ViewRect rect{0, 0, width, height};
    return frame_->resizeView(this, &rect) == kResultOk;
}

// The host's run loop is the only way into its thread on Linux. On Windows the editor idles on
// a timer of its own window, and a second one on that window, whose id is this view, serves
// the controller.
void Vst3EditorView::startTimer() {
#ifdef _WIN32
    windowTimer_ = SetTimer(reinterpret_cast<HWND>(window_), reinterpret_cast<UINT_PTR>(this),
                            static_cast<UINT>(kIdleMilliseconds), &onWindowTimer) != 0;
#else
    void* loop = nullptr;
    if (frame_ != nullptr && frame_->queryInterface(IRunLoop::iid.data(), &loop) == kResultOk) {
        runLoop_ = static_cast<IRunLoop*>(loop);
        runLoop_->registerTimer(this, kIdleMilliseconds);
    }
#endif
}

#ifdef _WIN32
void CALLBACK Vst3EditorView::onWindowTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto* view = reinterpret_cast<Vst3EditorView*>(id);
    if (view->ownsEditor() && view->onIdle_) {
        view->onIdle_();
    }
}
#endif

void Vst3EditorView::stopTimer() {
#ifdef _WIN32
    if (windowTimer_) {
        KillTimer(reinterpret_cast<HWND>(window_), reinterpret_cast<UINT_PTR>(this));
        windowTimer_ = false;
    }
#endif
    if (runLoop_ != nullptr) {
        runLoop_->unregisterTimer(this);
        runLoop_->release();
        runLoop_ = nullptr;
    }
}

void Vst3EditorView::onTimer() {
    if (ownsEditor()) {
        editor_.idle();
        if (onIdle_) {
            onIdle_();
        }
    }
}

tresult Vst3EditorView::getSize(ViewRect* size) {
    if (size == nullptr) {
        return kInvalidArgument;
    }
    const EditorSize editorSize = editor_.size();
    *size = {0, 0, editorSize.width, editorSize.height};
    return kResultOk;
}

// The editor picks its sizes itself; a host's other size leaves it as it is.
tresult Vst3EditorView::onSize(ViewRect* newSize) {
    return newSize != nullptr ? kResultOk : kInvalidArgument;
}

tresult Vst3EditorView::checkSizeConstraint(ViewRect* rect) {
    return getSize(rect);
}

tresult Vst3EditorView::setFrame(IPlugFrame* frame) {
    frame_ = frame;
    return kResultOk;
}

// Taken at the next opening; an open editor opens again at the new scale.
tresult Vst3EditorView::setContentScaleFactor(float factor) {
    if (!std::isfinite(factor) || factor <= 0.0f) {
        return kInvalidArgument;
    }
    hostScalePercent_ = factor * 100.0;
    if (ownsEditor()) {
        void* parent = parent_;
        close();
        if (!open(parent)) {
            return kResultFalse;
        }
        startTimer();
    }
    return kResultOk;
}

} // namespace Korvatune::Vst3
