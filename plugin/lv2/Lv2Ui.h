#pragma once

#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <cstdint>
#include <memory>

namespace Korvatune {
class DrawTestEditor;
}

namespace Korvatune::Lv2 {

class Lv2Instrument;

// The instrument's own editor as an LV2 X11 UI, embedded in the host's window. It needs the
// instance, whose editor it shows. Every parameter the user sets goes to the host as a port
// write, so the host records it; port values the host sends show in the editor.
class Lv2Ui {
public:
    // Null without the instance, a parent window or a host to write to.
    static std::unique_ptr<Lv2Ui> create(LV2UI_Write_Function write, LV2UI_Controller controller,
                                         LV2UI_Widget* widget, const LV2_Feature* const* features);
    ~Lv2Ui();
    Lv2Ui(const Lv2Ui&) = delete;
    Lv2Ui& operator=(const Lv2Ui&) = delete;

    void portEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format,
                   const void* buffer);
    void idle();

private:
    Lv2Ui(Lv2Instrument& instrument, LV2UI_Write_Function write, LV2UI_Controller controller);

    bool open(void* parentWindow);
    // False once another UI of the same instance has taken the editor over.
    bool ownsEditor() const;
    void writePort(int index, float value);

    Lv2Instrument& instrument_;
    DrawTestEditor& editor_;
    LV2UI_Write_Function write_;
    LV2UI_Controller controller_;
    unsigned long window_ = 0;
};

} // namespace Korvatune::Lv2
