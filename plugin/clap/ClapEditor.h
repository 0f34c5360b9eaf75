#pragma once

#include "plugin/InstrumentEditor.h"
#include "plugin/clap/ClapInstrument.h"

#include <cstdint>
#include <optional>

namespace Korvatune::Clap {

// The instrument's editor embedded in a host's window, from the host's create to its destroy.
// The user's edits go to the host as parameter gestures through the instance's edit queue, and
// the host is asked to flush them out when it does not run the plug-in. Main thread only.
class ClapEditor final : public EditorSession, private EditListener {
public:
    ClapEditor(ClapInstrument& plugin, InstrumentEditor& editor);
    ~ClapEditor() override;
    ClapEditor(const ClapEditor&) = delete;
    ClapEditor& operator=(const ClapEditor&) = delete;

    // The host's display scale (2 for 200 %) for the next opening.
    bool setScale(double scale);
    bool open(void* parentWindow);
    void close();
    EditorSize size() { return editor_.size(); }
    void onTimer(std::uint32_t timerId);

private:
    void beginEdit(int index) override;
    void valueEdited(int index, float value) override;
    void endEdit(int index) override;
    void tellHost(const ParameterEdit& edit);

    ClapInstrument& plugin_;
    InstrumentEditor& editor_;
    std::optional<double> scalePercent_;
    bool open_ = false;
    std::optional<std::uint32_t> idleTimer_;
};

} // namespace Korvatune::Clap
