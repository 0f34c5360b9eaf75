#pragma once

#include "plugin/InstrumentEditor.h"

#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <cstdint>
#include <memory>
#include <optional>

namespace Korvatune::Lv2 {

class Lv2Instrument;

// The instrument's own editor as an LV2 X11 UI, embedded in the host's window. It needs the
// instance, whose editor it shows. Every parameter the user sets goes to the host as a port
// write, framed by the host's touch notices where it offers them, so the host records it; port
// values the host sends show in the editor.
class Lv2Ui : private EditListener {
public:
    // Null without the instance, a parent window or a host to write to.
    static std::unique_ptr<Lv2Ui> create(LV2UI_Write_Function write, LV2UI_Controller controller,
                                         LV2UI_Widget* widget, const LV2_Feature* const* features);
    ~Lv2Ui() override;
    Lv2Ui(const Lv2Ui&) = delete;
    Lv2Ui& operator=(const Lv2Ui&) = delete;

    void portEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format,
                   const void* buffer);
    void idle();

private:
    Lv2Ui(Lv2Instrument& instrument, InstrumentEditor& editor, LV2UI_Write_Function write,
          LV2UI_Controller controller, const LV2UI_Touch* touch);

    // The host's scale in percent, when it gives one, sets the size to open at; its ui:resize,
    // when it offers one, is asked before every change of size.
    bool open(void* parentWindow, std::optional<double> hostScale, const LV2UI_Resize* resize);
    // False once another UI of the same instance has taken the editor over.
    bool ownsEditor() const;
    void beginEdit(int index) override;
    void valueEdited(int index, float value) override;
    void endEdit(int index) override;
    void touch(int index, bool grabbed);

    Lv2Instrument& instrument_;
    InstrumentEditor& editor_;
    LV2UI_Write_Function write_;
    LV2UI_Controller controller_;
    const LV2UI_Touch* touch_;
    std::uintptr_t window_ = 0;
};

} // namespace Korvatune::Lv2
