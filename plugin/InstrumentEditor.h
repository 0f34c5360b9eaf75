#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace Korvatune {

// Told, on the editor's thread, of every parameter the user edits in the editor. A gesture (a
// drag, a click, a file that sets many values) is framed by its begin and end, so that a host
// records it as one step of automation and undo.
class EditListener {
public:
    virtual ~EditListener() = default;
    virtual void beginEdit(int index) = 0;
    // The value as the instrument stored it.
    virtual void valueEdited(int index, float value) = 0;
    virtual void endEdit(int index) = 0;
};

struct EditorSize {
    int width = 0;
    int height = 0;
};

// The instrument's editor window as every plug-in format shows it, in a parent window of the
// platform (an X11 window id or an HWND).
//
// Threads: setParameter and refreshAll may come from any thread; everything else comes from the
// thread that runs the host's editor requests.
class InstrumentEditor {
public:
    virtual ~InstrumentEditor() = default;

    // The instrument stored a parameter or changed its program; the editor follows at idle.
    virtual void setParameter(int index, float value) = 0;
    virtual void refreshAll() = 0;

    // Opens at the display scale the host gives, in percent, or at the user's or system's size
    // without one. False when no window could be made.
    virtual bool openIn(void* parentWindow, std::optional<double> hostScalePercent) = 0;
    virtual void close() = 0;
    virtual void idle() = 0;
    // While open, the window's size in pixels; while closed, the size the next open takes.
    virtual EditorSize size() = 0;
    // The editor's own child window while open, else 0.
    virtual std::uintptr_t windowHandle() const = 0;
    // Null stops the telling.
    virtual void setEditListener(EditListener* listener) = 0;
    // Asked before the open window changes size, with the new size in pixels; true when the host
    // makes room. Empty: no host to ask.
    virtual void setHostResize(std::function<bool(int width, int height)> resize) = 0;
};

class VstXSynth;

// Makes the editor a build offers and attaches it to the instrument; null in a build without one.
using EditorFactory = void (*)(VstXSynth& synth);

} // namespace Korvatune
