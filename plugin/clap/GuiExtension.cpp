// The editor as a CLAP host embeds it: X11 on Linux, Win32 on Windows, never floating. No
// exception leaves through the callbacks.

#include "plugin/clap/ClapEditor.h"
#include "plugin/clap/PluginExtensions.h"

#include <cstring>

namespace Korvatune::Clap {

namespace {

#ifdef _WIN32
constexpr const char* kWindowApi = kWin32WindowApi;
#else
constexpr const char* kWindowApi = kX11WindowApi;
#endif

ClapEditor* editorOf(const Plugin* plugin) {
    return static_cast<ClapEditor*>(ClapInstrument::of(plugin).editorSession().get());
}

void* parentOf(const Window& window) {
#ifdef _WIN32
    return window.pointer;
#else
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window.x11));
#endif
}

bool isApiSupported(const Plugin* plugin, const char* api, bool isFloating) {
    return !isFloating && api != nullptr && std::strcmp(api, kWindowApi) == 0 &&
           ClapInstrument::of(plugin).instrument().editor() != nullptr;
}

bool preferredApi(const Plugin*, const char** api, bool* isFloating) {
    if (api == nullptr || isFloating == nullptr) {
        return false;
    }
    *api = kWindowApi;
    *isFloating = false;
    return true;
}

bool create(const Plugin* plugin, const char* api, bool isFloating) {
    if (!isApiSupported(plugin, api, isFloating)) {
        return false;
    }
    ClapInstrument& instance = ClapInstrument::of(plugin);
    try {
        instance.editorSession().reset();
        instance.editorSession() =
            std::make_unique<ClapEditor>(instance, *instance.instrument().editor());
        return true;
    } catch (...) {
        return false;
    }
}

void destroy(const Plugin* plugin) {
    ClapInstrument::of(plugin).editorSession().reset();
}

bool setScale(const Plugin* plugin, double scale) {
    ClapEditor* editor = editorOf(plugin);
    return editor != nullptr && editor->setScale(scale);
}

bool size(const Plugin* plugin, std::uint32_t* width, std::uint32_t* height) {
    ClapEditor* editor = editorOf(plugin);
    if (editor == nullptr || width == nullptr || height == nullptr) {
        return false;
    }
    const EditorSize pixels = editor->size();
    *width = static_cast<std::uint32_t>(pixels.width);
    *height = static_cast<std::uint32_t>(pixels.height);
    return pixels.width > 0 && pixels.height > 0;
}

// The user chooses the editor's size inside it; the host's window follows.
bool canResize(const Plugin*) {
    return false;
}

bool resizeHints(const Plugin*, GuiResizeHints*) {
    return false;
}

bool adjustSize(const Plugin*, std::uint32_t*, std::uint32_t*) {
    return false;
}

bool setSize(const Plugin* plugin, std::uint32_t width, std::uint32_t height) {
    std::uint32_t currentWidth = 0;
    std::uint32_t currentHeight = 0;
    return size(plugin, &currentWidth, &currentHeight) && width == currentWidth &&
           height == currentHeight;
}

bool setParent(const Plugin* plugin, const Window* window) {
    ClapEditor* editor = editorOf(plugin);
    try {
        return editor != nullptr && window != nullptr && editor->open(parentOf(*window));
    } catch (...) {
        return false;
    }
}

bool setTransient(const Plugin*, const Window*) {
    return false;
}

void suggestTitle(const Plugin*, const char*) {}

// The editor lives in the host's window, which the host shows and hides.
bool show(const Plugin* plugin) {
    return editorOf(plugin) != nullptr;
}

bool hide(const Plugin* plugin) {
    return editorOf(plugin) != nullptr;
}

void onTimer(const Plugin* plugin, std::uint32_t timerId) {
    if (ClapEditor* editor = editorOf(plugin)) {
        editor->onTimer(timerId);
    }
}

constexpr PluginGui kGui = {isApiSupported, preferredApi, create,       destroy,    setScale,
                            size,           canResize,    resizeHints,  adjustSize, setSize,
                            setParent,      setTransient, suggestTitle, show,       hide};
constexpr PluginTimerSupport kTimerSupport = {onTimer};

} // namespace

const PluginGui* guiExtension() {
    return &kGui;
}

const PluginTimerSupport* timerSupportExtension() {
    return &kTimerSupport;
}

} // namespace Korvatune::Clap
