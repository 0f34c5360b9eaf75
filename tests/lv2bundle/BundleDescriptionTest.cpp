#include "lv2bundle/BundleTestHost.h"

#include <gtest/gtest.h>

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/midi/midi.h>
#include <lv2/state/state.h>
#include <lv2/options/options.h>
#include <lv2/presets/presets.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <bit>
#include <cctype>
#include <map>
#include <set>
#include <string>

namespace Korvatune {
namespace {

class Lv2Bundle : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(host.plugin, nullptr); }

    const LilvPort* port(std::uint32_t index) {
        return lilv_plugin_get_port_by_index(host.plugin, index);
    }
    bool portIs(std::uint32_t index, const char* classUri) {
        return lilv_port_is_a(host.plugin, port(index), host.node(classUri));
    }
    bool portHasProperty(std::uint32_t index, const char* propertyUri) {
        return lilv_port_has_property(host.plugin, port(index), host.node(propertyUri));
    }
    std::string portSymbol(std::uint32_t index) {
        return lilv_node_as_string(lilv_port_get_symbol(host.plugin, port(index)));
    }
    std::string portName(std::uint32_t index) {
        LilvNode* name = lilv_port_get_name(host.plugin, port(index));
        std::string text = lilv_node_as_string(name);
        lilv_node_free(name);
        return text;
    }
    // Scale points by value.
    std::map<float, std::string> scalePoints(std::uint32_t index) {
        std::map<float, std::string> points;
        LilvScalePoints* all = lilv_port_get_scale_points(host.plugin, port(index));
        LILV_FOREACH(scale_points, i, all) {
            const LilvScalePoint* point = lilv_scale_points_get(all, i);
            points[lilv_node_as_float(lilv_scale_point_get_value(point))] =
                lilv_node_as_string(lilv_scale_point_get_label(point));
        }
        lilv_scale_points_free(all);
        return points;
    }

    testing::BundleCopy copy;
    testing::LilvHost host{copy.folder()};
    testing::SynthDriver vst2{44100.0f, testing::vst2ModuleEntry()};
};

std::string vst2Text(AEffect* effect, std::int32_t opcode, int index) {
    return testing::textFrom(effect, opcode, index);
}

TEST_F(Lv2Bundle, DescribesAnInstrumentWithItsEditor) {
    const LilvPluginClass* pluginClass = lilv_plugin_get_class(host.plugin);
    EXPECT_STREQ(lilv_node_as_uri(lilv_plugin_class_get_uri(pluginClass)),
                 LV2_CORE__InstrumentPlugin);
    LilvNode* name = lilv_plugin_get_name(host.plugin);
    LilvNode* author = lilv_plugin_get_author_name(host.plugin);
    EXPECT_STREQ(lilv_node_as_string(name), "Ombrafell");
    ASSERT_NE(author, nullptr);
    EXPECT_STREQ(lilv_node_as_string(author), "Korvatune");
    lilv_node_free(name);
    lilv_node_free(author);

    LilvNodes* required = lilv_plugin_get_required_features(host.plugin);
    ASSERT_EQ(lilv_nodes_size(required), 1u);
    EXPECT_STREQ(lilv_node_as_uri(lilv_nodes_get(required, lilv_nodes_begin(required))),
                 LV2_URID__map);
    lilv_nodes_free(required);

    LilvUIs* uis = lilv_plugin_get_uis(host.plugin);
    ASSERT_EQ(lilv_uis_size(uis), 1u);
    const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
    EXPECT_STREQ(lilv_node_as_uri(lilv_ui_get_uri(ui)), Lv2::kUiUri);
    EXPECT_TRUE(lilv_ui_is_a(ui, host.node(LV2_UI__X11UI)));
    EXPECT_TRUE(
        lilv_node_equals(lilv_ui_get_binary_uri(ui), lilv_plugin_get_library_uri(host.plugin)));
    lilv_uis_free(uis);
}

TEST_F(Lv2Bundle, NamesItsLicenceAsTheGpl3) {
    LilvNodes* licences =
        lilv_plugin_get_value(host.plugin, host.node("http://usefulinc.com/ns/doap#license"));
    ASSERT_NE(licences, nullptr);
    ASSERT_EQ(lilv_nodes_size(licences), 1u);
    const LilvNode* licence = lilv_nodes_get(licences, lilv_nodes_begin(licences));
    EXPECT_TRUE(lilv_node_is_uri(licence));
    EXPECT_STREQ(lilv_node_as_uri(licence), "http://opensource.org/licenses/gpl-3.0");
    lilv_nodes_free(licences);
}

// Hosts pass the display's scale factor only to UIs that say they read it.
TEST_F(Lv2Bundle, TheEditorTakesTheHostsScaleFactorAsAnOption) {
    LilvUIs* uis = lilv_plugin_get_uis(host.plugin);
    ASSERT_EQ(lilv_uis_size(uis), 1u);
    const LilvNode* ui = lilv_ui_get_uri(lilv_uis_get(uis, lilv_uis_begin(uis)));
    EXPECT_TRUE(lilv_world_ask(host.world, ui, host.node(LV2_OPTIONS__supportedOption),
                               host.node(LV2_UI__scaleFactor)));
    EXPECT_TRUE(lilv_world_ask(host.world, ui, host.node(LV2_CORE__optionalFeature),
                               host.node(LV2_OPTIONS__options)));
    EXPECT_FALSE(lilv_world_ask(host.world, ui, host.node(LV2_CORE__requiredFeature),
                                host.node(LV2_OPTIONS__options)));
    lilv_uis_free(uis);
}

TEST_F(Lv2Bundle, HasAMidiInputTwoAudioOutputsANotifyOutputAndSixtyParameters) {
    ASSERT_EQ(lilv_plugin_get_num_ports(host.plugin), 64u);
    EXPECT_TRUE(portIs(Lv2::kMidiInPort, LV2_CORE__InputPort));
    EXPECT_TRUE(portIs(Lv2::kMidiInPort, LV2_ATOM__AtomPort));
    EXPECT_TRUE(lilv_port_supports_event(host.plugin, port(Lv2::kMidiInPort),
                                         host.node(LV2_MIDI__MidiEvent)));
    for (const std::uint32_t output : {Lv2::kLeftOutPort, Lv2::kRightOutPort}) {
        EXPECT_TRUE(portIs(output, LV2_CORE__OutputPort)) << output;
        EXPECT_TRUE(portIs(output, LV2_CORE__AudioPort)) << output;
    }
    EXPECT_EQ(portSymbol(Lv2::kLeftOutPort), "out_left");
    EXPECT_EQ(portSymbol(Lv2::kRightOutPort), "out_right");
    EXPECT_TRUE(portIs(Lv2::kNotifyPort, LV2_CORE__OutputPort));
    EXPECT_TRUE(portIs(Lv2::kNotifyPort, LV2_ATOM__AtomPort));
    EXPECT_TRUE(lilv_port_supports_event(host.plugin, port(Lv2::kNotifyPort),
                                         host.node(LV2_STATE__StateChanged)));
    EXPECT_EQ(portSymbol(Lv2::kNotifyPort), "notify");
}

// Port i is parameter i: its symbol the program file's key, its name the parameter's (which
// VST 2 hosts see cut to 8 characters), its range 0..1 and its default program 0's value.
TEST_F(Lv2Bundle, ParameterPortsAreTheInstrumentsParameters) {
    std::set<std::string> symbols;
    for (int index = 0; index < kNumProgramKeys; ++index) {
        const auto i = static_cast<std::uint32_t>(index);
        EXPECT_TRUE(portIs(i, LV2_CORE__InputPort)) << index;
        EXPECT_TRUE(portIs(i, LV2_CORE__ControlPort)) << index;
        const std::string symbol = portSymbol(i);
        EXPECT_TRUE(symbols.insert(symbol).second) << symbol;
        EXPECT_EQ(portName(i).substr(0, 8), vst2Text(vst2.get(), effGetParamName, index));
        LilvNode* defaultValue = nullptr;
        LilvNode* minimum = nullptr;
        LilvNode* maximum = nullptr;
        lilv_port_get_range(host.plugin, port(i), &defaultValue, &minimum, &maximum);
        EXPECT_EQ(lilv_node_as_float(minimum), 0.0f) << index;
        EXPECT_EQ(lilv_node_as_float(maximum), 1.0f) << index;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(lilv_node_as_float(defaultValue)),
                  std::bit_cast<std::uint32_t>(vst2->getParameter(vst2.get(), index)))
            << symbol;
        lilv_node_free(defaultValue);
        lilv_node_free(minimum);
        lilv_node_free(maximum);
    }
    EXPECT_EQ(portSymbol(0), "OscWaveform1");
    EXPECT_EQ(portSymbol(15), "OscFreq2");
    EXPECT_EQ(portSymbol(40), "OscFreqModAmount3");
    EXPECT_EQ(portSymbol(59), "Volume");
    EXPECT_EQ(portName(4), "Pan  1");
    EXPECT_EQ(portName(42), "Pitch Duration");
}

// Hosts offer exactly the list values n / (N - 1), named as the instrument names them.
TEST_F(Lv2Bundle, WaveformsAndDistortionTypesAreListsAndSwitchesAreToggles) {
    for (const std::uint32_t index : {0u, 14u, 28u, 54u}) {
        EXPECT_TRUE(portHasProperty(index, LV2_CORE__enumeration)) << index;
        const std::map<float, std::string> points = scalePoints(index);
        const int count = index == 54 ? 25 : 30;
        ASSERT_EQ(points.size(), static_cast<std::size_t>(count)) << index;
        for (int entry = 0; entry < count; ++entry) {
            const float value = static_cast<float>(entry) / static_cast<float>(count - 1);
            EXPECT_TRUE(points.contains(value)) << index << " " << entry;
        }
    }
    EXPECT_EQ(scalePoints(0).at(7.0f / 29.0f), "LQ Noize 1");
    EXPECT_EQ(scalePoints(28).at(1.0f), "User10");
    EXPECT_EQ(scalePoints(54).at(0.0f), "Linear");
    EXPECT_EQ(scalePoints(54).at(9.0f / 24.0f), "QRT-Fuzz 2");
    EXPECT_EQ(scalePoints(54).at(1.0f), "MadDog");
    for (std::uint32_t index = 0; index < kNumProgramKeys; ++index) {
        const bool toggle = index == 9 || index == 23 || index == 37 || index == 58;
        const bool list = index == 0 || index == 14 || index == 28 || index == 54;
        EXPECT_EQ(portHasProperty(index, LV2_CORE__toggled), toggle) << index;
        EXPECT_EQ(portHasProperty(index, LV2_CORE__enumeration), list) << index;
    }
}

TEST_F(Lv2Bundle, OffersTheFactoryProgramsAsPresetsByName) {
    LilvNodes* presets = lilv_plugin_get_related(host.plugin, host.node(LV2_PRESETS__Preset));
    ASSERT_EQ(lilv_nodes_size(presets), 45u);
    std::multiset<std::string> labels;
    LILV_FOREACH(nodes, i, presets) {
        const LilvNode* preset = lilv_nodes_get(presets, i);
        lilv_world_load_resource(host.world, preset);
        LilvNodes* label =
            lilv_world_find_nodes(host.world, preset, host.node(LILV_NS_RDFS "label"), nullptr);
        ASSERT_EQ(lilv_nodes_size(label), 1u);
        labels.insert(lilv_node_as_string(lilv_nodes_get(label, lilv_nodes_begin(label))));
        lilv_nodes_free(label);
    }
    lilv_nodes_free(presets);
    std::multiset<std::string> programs;
    for (int program = 0; program < 45; ++program) {
        programs.insert(vst2Text(vst2.get(), effGetProgramNameIndexed, program));
    }
    EXPECT_EQ(labels, programs);
    EXPECT_TRUE(labels.contains("Low Q Bassdrum"));
}

} // namespace
} // namespace Korvatune
