#include "plugin/lv2/turtle/BundleDescription.h"

#include "engine/Distortion.h"
#include "plugin/ParameterTable.h"
#include "plugin/lv2/Lv2Ports.h"
#include "plugin/lv2/Lv2Uris.h"
#include "plugin/lv2/turtle/TurtleText.h"
#include "programs/FactoryBank.h"
#include "programs/VstXSynthProgram.h"
#include "waveforms/WaveformProvider.h"

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/log/log.h>
#include <lv2/midi/midi.h>
#include <lv2/options/options.h>
#include <lv2/presets/presets.h>
#include <lv2/state/state.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cstdio>
#include <memory>
#include <span>
#include <string>

namespace Korvatune::Lv2 {

namespace {

// A build without the editor describes no UI.
constexpr bool kWithEditor = OMBRAFELL_LV2_WITH_EDITOR;

const char* const kPrefixes = "@prefix atom: <" LV2_ATOM_PREFIX "> .\n"
                              "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
                              "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
                              "@prefix log: <" LV2_LOG_PREFIX "> .\n"
                              "@prefix lv2: <" LV2_CORE_PREFIX "> .\n"
                              "@prefix midi: <" LV2_MIDI_PREFIX "> .\n"
                              "@prefix opts: <" LV2_OPTIONS_PREFIX "> .\n"
                              "@prefix pset: <" LV2_PRESETS_PREFIX "> .\n"
                              "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
                              "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
                              "@prefix state: <" LV2_STATE_PREFIX "> .\n"
                              "@prefix ui: <" LV2_UI_PREFIX "> .\n"
                              "@prefix urid: <" LV2_URID_PREFIX "> .\n"
                              "@prefix ombrafell: <" OMBRAFELL_LV2_URI "#> .\n\n";

// The URI LV2 hosts know for GPL version 3; the "or later" is in the licence notice.
const char* const kLicenceUri = "http://opensource.org/licenses/gpl-3.0";

std::string uri(const std::string& text) {
    return "<" + text + ">";
}

std::string presetUri(int program) {
    char number[8];
    std::snprintf(number, sizeof number, "%02d", program);
    return uri(kPresetUriPrefix + std::string(number));
}

std::unique_ptr<VstXSynthProgram[]> factoryBank() {
    auto bank = std::make_unique<VstXSynthProgram[]>(kNumPrograms);
    loadFactoryBank(std::span<VstXSynthProgram, kNumPrograms>(bank.get(), kNumPrograms));
    return bank;
}

// List parameters store entry n of N as n / (N - 1); hosts offer exactly these values.
void writeScalePoints(std::ostream& out, int count, const char* (*nameOf)(int)) {
    out << "        lv2:portProperty lv2:enumeration ;\n        lv2:scalePoint";
    for (int entry = 0; entry < count; ++entry) {
        const float value = static_cast<float>(entry) / static_cast<float>(count - 1);
        out << (entry == 0 ? " " : " ,\n            ") << "[ rdfs:label "
            << turtleString(nameOf(entry)) << " ; rdf:value " << turtleDecimal(value) << " ]";
    }
    out << " ;\n";
}

void writeControlPort(std::ostream& out, int index, float defaultValue) {
    const ParameterInfo& parameter = parameterInfo(index);
    out << "    [\n        a lv2:InputPort , lv2:ControlPort ;\n"
        << "        lv2:index " << index << " ;\n"
        << "        lv2:symbol " << turtleString(kProgramKeys[index].text) << " ;\n"
        << "        lv2:name " << turtleString(parameter.name) << " ;\n"
        << "        lv2:default " << turtleDecimal(defaultValue) << " ;\n"
        << "        lv2:minimum 0.0 ;\n        lv2:maximum 1.0 ;\n";
    if (parameter.display == DisplayRule::Waveform) {
        writeScalePoints(out, WaveformProvider::kNumWaveforms, WaveformProvider::waveformNameAt);
    } else if (parameter.display == DisplayRule::DistortionType) {
        writeScalePoints(out, Distortion::kNumTypes, Distortion::typeNameOfIndex);
    } else if (parameter.display == DisplayRule::OnOff) {
        out << "        lv2:portProperty lv2:toggled ;\n";
    }
    out << "    ] ,\n";
}

void writeEventAndAudioPorts(std::ostream& out) {
    out << "    [\n        a lv2:InputPort , atom:AtomPort ;\n"
        << "        atom:bufferType atom:Sequence ;\n"
        << "        atom:supports midi:MidiEvent ;\n"
        << "        lv2:designation lv2:control ;\n"
        << "        lv2:index " << kMidiInPort << " ;\n"
        << "        lv2:symbol \"midi_in\" ;\n        lv2:name \"MIDI In\" ;\n    ] ,\n";
    const struct {
        Port port;
        const char* symbol;
        const char* name;
    } outputs[] = {{kLeftOutPort, "out_left", "Left"}, {kRightOutPort, "out_right", "Right"}};
    for (const auto& output : outputs) {
        out << "    [\n        a lv2:OutputPort , lv2:AudioPort ;\n"
            << "        lv2:index " << output.port << " ;\n"
            << "        lv2:symbol " << turtleString(output.symbol) << " ;\n"
            << "        lv2:name " << turtleString(output.name) << " ;\n    ] ,\n";
    }
    out << "    [\n        a lv2:OutputPort , atom:AtomPort ;\n"
        << "        atom:bufferType atom:Sequence ;\n"
        << "        atom:supports state:StateChanged ;\n"
        << "        lv2:designation lv2:control ;\n"
        << "        lv2:index " << kNotifyPort << " ;\n"
        << "        lv2:symbol \"notify\" ;\n        lv2:name \"Notify\" ;\n    ] .\n\n";
}

void writeUi(std::ostream& out) {
    out << "ombrafell:ui\n    a ui:X11UI ;\n"
        << "    lv2:requiredFeature ui:parent , ui:idleInterface , <" LV2_INSTANCE_ACCESS_URI
           "> ;\n"
        << "    lv2:optionalFeature ui:resize , ui:noUserResize , ui:touch , opts:options , "
           "urid:map ;\n"
        << "    opts:supportedOption ui:scaleFactor ;\n"
        << "    lv2:extensionData ui:idleInterface .\n\n";
}

void writeProject(std::ostream& out) {
    out << "ombrafell:project\n    a doap:Project ;\n"
        << "    doap:name \"Ombrafell\" ;\n"
        << "    doap:maintainer [ foaf:name \"Korvatune\" ] .\n\n";
}

void writeStateProperties(std::ostream& out) {
    out << "ombrafell:programName\n    a rdf:Property ;\n"
        << "    rdfs:label \"program name\" ;\n"
        << "    rdfs:comment \"The name of the current program.\" ;\n"
        << "    rdfs:range atom:String .\n\n"
        << "ombrafell:UserWaveform\n    a rdfs:Datatype ;\n"
        << "    rdfs:comment \"One cycle of 4096 samples: the bytes OBWF, the format version and "
           "the sample count as 32-bit little-endian integers, then the samples as "
           "little-endian 32-bit floats.\" .\n";
    for (int slot = 1; slot <= WaveformProvider::kNumUserWaveforms; ++slot) {
        out << "\nombrafell:userWaveform" << slot << "\n    a rdf:Property ;\n"
            << "    rdfs:label \"User" << slot << " waveform\" ;\n"
            << "    rdfs:range ombrafell:UserWaveform .\n";
    }
}

} // namespace

void writeManifest(std::ostream& out) {
    out << kPrefixes << uri(kPluginUri) << "\n    a lv2:Plugin , lv2:InstrumentPlugin ;\n"
        << "    lv2:binary <" << kBinaryName << "> ;\n    rdfs:seeAlso <ombrafell.ttl> .\n";
    if (kWithEditor) {
        out << "\nombrafell:ui\n    a ui:X11UI ;\n    ui:binary <" << kBinaryName << "> ;\n"
            << "    rdfs:seeAlso <ombrafell.ttl> .\n";
    }
    for (int program = 0; program < kNumPrograms; ++program) {
        out << "\n"
            << presetUri(program) << "\n    a pset:Preset ;\n"
            << "    lv2:appliesTo " << uri(kPluginUri) << " ;\n"
            << "    rdfs:seeAlso <presets.ttl> .\n";
    }
}

void writePluginDescription(std::ostream& out) {
    const auto bank = factoryBank();
    out << kPrefixes << uri(kPluginUri) << "\n    a lv2:Plugin , lv2:InstrumentPlugin ;\n"
        << "    doap:name \"Ombrafell\" ;\n"
        << "    doap:license <" << kLicenceUri << "> ;\n"
        << "    lv2:project ombrafell:project ;\n"
        << "    rdfs:comment \"A kick-drum synthesizer: three oscillators per note through "
           "filters and a pitch sweep, then distortion, filters and tone controls.\" ;\n"
        << "    lv2:minorVersion " << OMBRAFELL_VERSION_MINOR << " ;\n"
        << "    lv2:microVersion " << OMBRAFELL_VERSION_MICRO << " ;\n"
        << "    lv2:requiredFeature urid:map ;\n"
        << "    lv2:optionalFeature lv2:hardRTCapable , log:log , state:threadSafeRestore ;\n"
        << "    lv2:extensionData state:interface ;\n"
        << (kWithEditor ? "    ui:ui ombrafell:ui ;\n" : "") << "    lv2:port\n";
    for (int index = 0; index < kNumProgramKeys; ++index) {
        writeControlPort(out, index, bank[0].getValue(index));
    }
    writeEventAndAudioPorts(out);
    if (kWithEditor) {
        writeUi(out);
    }
    writeProject(out);
    writeStateProperties(out);
}

void writePresets(std::ostream& out) {
    const auto bank = factoryBank();
    out << kPrefixes;
    for (int program = 0; program < kNumPrograms; ++program) {
        const VstXSynthProgram& record = bank[program];
        out << presetUri(program) << "\n    a pset:Preset ;\n"
            << "    lv2:appliesTo " << uri(kPluginUri) << " ;\n"
            << "    rdfs:label " << turtleString(record.getName()) << " ;\n    lv2:port";
        for (int index = 0; index < kNumProgramKeys; ++index) {
            out << (index == 0 ? " " : " ,\n        ") << "[ lv2:symbol "
                << turtleString(kProgramKeys[index].text) << " ; pset:value "
                << turtleDecimal(record.getValue(index)) << " ]";
        }
        out << " ;\n    state:state [ ombrafell:programName " << turtleString(record.getName())
            << " ] .\n\n";
    }
}

} // namespace Korvatune::Lv2
