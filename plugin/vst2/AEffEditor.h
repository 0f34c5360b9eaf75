#pragma once

#include "plugin/vst2/VstAbi.h"

namespace Korvatune {

// What the host-interface shell needs of an editor; the editor window implements it.
class AEffEditor {
public:
    virtual ~AEffEditor() = default;

    virtual bool getRect(ERect** rect) = 0;
    virtual bool open(void* parentWindow) = 0;
    virtual void close() = 0;
    virtual void idle() = 0;
    virtual bool onKeyDown(int character, int virtualKey, int modifiers) = 0;
    virtual bool onKeyUp(int character, int virtualKey, int modifiers) = 0;
    virtual void setKnobMode(int mode) = 0;
};

} // namespace Korvatune
