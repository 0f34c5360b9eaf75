#include "plugin/lv2/Lv2Ui.h"

#include "plugin/lv2/Features.h"
#include "plugin/lv2/Lv2Instrument.h"
#include "plugin/lv2/Lv2Ports.h"

#include <lv2/atom/atom.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <optional>

namespace Korvatune::Lv2 {

namespace {

// The port protocol of plain float values.
constexpr std::uint32_t kFloatProtocol = 0;

// True when the host makes room for the size; a host without ui:resize makes none.
bool askHostToResize(const LV2UI_Resize* resize, int width, int height) {
    return resize != nullptr && resize->ui_resize != nullptr &&
           resize->ui_resize(resize->handle, width, height) == 0;
}

// The host's ui:scaleFactor among the UI's options, in percent; nothing when it gives none.
std::optional<double> hostScalePercent(const LV2_Feature* const* features) {
    const auto* map = static_cast<const LV2_URID_Map*>(featureData(features, LV2_URID__map));
    const auto* option =
        static_cast<const LV2_Options_Option*>(featureData(features, LV2_OPTIONS__options));
    if (map == nullptr || option == nullptr) {
        return std::nullopt;
    }
    const LV2_URID scaleFactor = map->map(map->handle, LV2_UI__scaleFactor);
    const LV2_URID floatType = map->map(map->handle, LV2_ATOM__Float);
    for (; option->key != 0 || option->value != nullptr; ++option) {
        if (option->key == scaleFactor && option->type == floatType &&
            option->size == sizeof(float) && option->value != nullptr) {
            const float factor = *static_cast<const float*>(option->value);
            return std::isfinite(factor) && factor > 0.0f ? std::optional(factor * 100.0)
                                                          : std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace

std::unique_ptr<Lv2Ui> Lv2Ui::create(LV2UI_Write_Function write, LV2UI_Controller controller,
                                     LV2UI_Widget* widget, const LV2_Feature* const* features) {
    auto* instrument = static_cast<Lv2Instrument*>(featureData(features, LV2_INSTANCE_ACCESS_URI));
    void* parent = featureData(features, LV2_UI__parent);
    if (instrument == nullptr || parent == nullptr || write == nullptr || widget == nullptr ||
        instrument->instrument().editor() == nullptr) {
        return nullptr;
    }
    const auto* touch = static_cast<const LV2UI_Touch*>(featureData(features, LV2_UI__touch));
    std::unique_ptr<Lv2Ui> ui(
        new Lv2Ui(*instrument, *instrument->instrument().editor(), write, controller, touch));
    const auto* resize = static_cast<const LV2UI_Resize*>(featureData(features, LV2_UI__resize));
    if (!ui->open(parent, hostScalePercent(features), resize)) {
        return nullptr;
    }
    *widget = reinterpret_cast<LV2UI_Widget>(ui->window_);
    const EditorSize size = ui->editor_.size();
    askHostToResize(resize, size.width, size.height);
    return ui;
}

Lv2Ui::Lv2Ui(Lv2Instrument& instrument, InstrumentEditor& editor, LV2UI_Write_Function write,
             LV2UI_Controller controller, const LV2UI_Touch* touch)
    : instrument_(instrument), editor_(editor), write_(write), controller_(controller),
      touch_(touch) {}

// A UI that fails to open leaves no resize function of its host behind in the editor.
bool Lv2Ui::open(void* parentWindow, std::optional<double> hostScale, const LV2UI_Resize* resize) {
    editor_.setHostResize(
        [resize](int width, int height) { return askHostToResize(resize, width, height); });
    if (!editor_.openIn(parentWindow, hostScale)) {
        editor_.setHostResize({});
        return false;
    }
    window_ = editor_.windowHandle();
    editor_.setEditListener(this);
    return true;
}

// The host's resize function goes with its UI.
Lv2Ui::~Lv2Ui() {
    if (ownsEditor()) {
        editor_.setEditListener(nullptr);
        editor_.setHostResize({});
        editor_.close();
    }
}

bool Lv2Ui::ownsEditor() const {
    return window_ != 0 && editor_.windowHandle() == window_;
}

void Lv2Ui::beginEdit(int index) {
    touch(index, true);
}

void Lv2Ui::valueEdited(int index, float value) {
    write_(controller_, static_cast<std::uint32_t>(index), sizeof value, kFloatProtocol, &value);
}

void Lv2Ui::endEdit(int index) {
    touch(index, false);
}

void Lv2Ui::touch(int index, bool grabbed) {
    if (touch_ != nullptr && touch_->touch != nullptr) {
        touch_->touch(touch_->handle, static_cast<std::uint32_t>(index), grabbed);
    }
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
        instrument_.instrument().setParameterValue(index, value);
    }
}

void Lv2Ui::idle() {
    if (ownsEditor()) {
        editor_.idle();
    }
}

} // namespace Korvatune::Lv2
