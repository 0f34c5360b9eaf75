#include "plugin/lv2/Lv2Ui.h"

#include "editor/DrawTestEditor.h"
#include "plugin/lv2/Features.h"
#include "plugin/lv2/Lv2Instrument.h"
#include "plugin/lv2/Lv2Ports.h"

#include <lv2/instance-access/instance-access.h>

namespace Korvatune::Lv2 {

namespace {

// The port protocol of plain float values.
constexpr std::uint32_t kFloatProtocol = 0;

void tellHostTheSize(const LV2_Feature* const* features, const ERect& rect) {
    const auto* resize = static_cast<const LV2UI_Resize*>(featureData(features, LV2_UI__resize));
    if (resize != nullptr && resize->ui_resize != nullptr) {
        resize->ui_resize(resize->handle, rect.right - rect.left, rect.bottom - rect.top);
    }
}

} // namespace

std::unique_ptr<Lv2Ui> Lv2Ui::create(LV2UI_Write_Function write, LV2UI_Controller controller,
                                     LV2UI_Widget* widget, const LV2_Feature* const* features) {
    auto* instrument = static_cast<Lv2Instrument*>(featureData(features, LV2_INSTANCE_ACCESS_URI));
    void* parent = featureData(features, LV2_UI__parent);
    if (instrument == nullptr || parent == nullptr || write == nullptr || widget == nullptr) {
        return nullptr;
    }
    std::unique_ptr<Lv2Ui> ui(new Lv2Ui(*instrument, write, controller));
    if (!ui->open(parent)) {
        return nullptr;
    }
    *widget = reinterpret_cast<LV2UI_Widget>(static_cast<std::uintptr_t>(ui->window_));
    ERect* rect = nullptr;
    if (ui->editor_.getRect(&rect)) {
        tellHostTheSize(features, *rect);
    }
    return ui;
}

Lv2Ui::Lv2Ui(Lv2Instrument& instrument, LV2UI_Write_Function write, LV2UI_Controller controller)
    : instrument_(instrument), editor_(*instrument.synth().getDrawTestEditor()), write_(write),
      controller_(controller) {}

bool Lv2Ui::open(void* parentWindow) {
    if (!editor_.open(parentWindow) || editor_.getWindow() == nullptr) {
        return false;
    }
    window_ = editor_.getWindow()->windowId();
    editor_.setParameterEditListener([this](int index, float value) { writePort(index, value); });
    return true;
}

Lv2Ui::~Lv2Ui() {
    if (ownsEditor()) {
        editor_.setParameterEditListener({});
        editor_.close();
    }
}

bool Lv2Ui::ownsEditor() const {
    return window_ != 0 && editor_.getWindow() != nullptr &&
           editor_.getWindow()->windowId() == window_;
}

void Lv2Ui::writePort(int index, float value) {
    write_(controller_, static_cast<std::uint32_t>(index), sizeof value, kFloatProtocol, &value);
}

// A value the instrument already took from its port is not applied again: after a MIDI
// program change the host still sends the port's older value, which must not undo the program.
void Lv2Ui::portEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format,
                      const void* buffer) {
    if (!isParameterPort(port) || format != kFloatProtocol || size != sizeof(float) ||
        buffer == nullptr) {
        return;
    }
    const float value = *static_cast<const float*>(buffer);
    const int index = static_cast<int>(port);
    if (instrument_.isNewPortValue(index, value)) {
        instrument_.synth().setParameter(index, value);
    }
}

void Lv2Ui::idle() {
    if (ownsEditor()) {
        editor_.idle();
    }
}

} // namespace Korvatune::Lv2
