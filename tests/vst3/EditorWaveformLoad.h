#pragma once

// The user's LOAD of a waveform file in the controller's editor, answered by a file selector
// that picks a file of the test's: one cycle unlike every built-in table.

#include "editor/EditorTestSupport.h"
#include "waveforms/WaveformTestFiles.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace Korvatune::testing {

// The LOAD button beside oscillator 1's waveform, on the Synth page.
inline constexpr Gui::Point kLoadWaveform{49, 110};
// Oscillator 1's waveform parameter on User1, the only kind of table LOAD replaces.
inline constexpr double kUser1 = static_cast<double>(WaveformProvider::kFirstUserWaveform) / 29.0;

// How many files the editor asked for: 1 when LOAD was offered.
inline std::size_t loadWaveformThroughEditor(DrawTestEditor& editor,
                                             const testfiles::TemporaryDirectory& folder) {
    std::vector<float> cycle(WaveformProvider::kTableSize);
    for (std::size_t i = 0; i < cycle.size(); ++i) {
        cycle[i] = std::sin(static_cast<float>(i) * 0.003f);
    }
    const std::string file = folder.file("cycle.raw");
    testfiles::writeBytes(file, testfiles::rawFloats(cycle));
    std::vector<Gui::FileSelectRequest> requests;
    editor.setFileSelector(std::make_unique<FakeFileSelector>(file, requests));
    clickOnPage(*editor.getFrame(), kLoadWaveform);
    return requests.size();
}

} // namespace Korvatune::testing
