#include "plugin/clap/ClapEditor.h"

#include <cmath>

namespace Korvatune::Clap {

namespace {

// The X11 window reads its events only when it idles; about 30 times a second keeps it lively.
constexpr std::uint32_t kIdleMilliseconds = 33;

} // namespace

ClapEditor::ClapEditor(ClapInstrument& plugin, InstrumentEditor& editor)
    : plugin_(plugin), editor_(editor) {}

ClapEditor::~ClapEditor() {
    close();
}

bool ClapEditor::setScale(double scale) {
    if (!std::isfinite(scale) || scale <= 0.0) {
        return false;
    }
    scalePercent_ = scale * 100.0;
    return true;
}

// The Win32 window idles on its own timer; only the X11 one needs the host's to idle. Both
// need it to pass on the session changes the user makes in the editor.
bool ClapEditor::open(void* parentWindow) {
    close();
    const HostServices& host = plugin_.host();
    editor_.setHostResize(
        [&host](int width, int height) { return host.requestResize(width, height); });
    if (parentWindow == nullptr || !editor_.openIn(parentWindow, scalePercent_)) {
        editor_.setHostResize({});
        return false;
    }
    open_ = true;
    editor_.setEditListener(this);
    idleTimer_ = host.registerTimer(kIdleMilliseconds);
    return true;
}

void ClapEditor::close() {
    plugin_.publishStateChange();
    if (idleTimer_) {
        plugin_.host().unregisterTimer(*idleTimer_);
        idleTimer_.reset();
    }
    if (open_) {
        editor_.setEditListener(nullptr);
        editor_.setHostResize({});
        editor_.close();
        open_ = false;
    }
}

void ClapEditor::onTimer(std::uint32_t timerId) {
    if (open_ && idleTimer_ == timerId) {
#ifndef _WIN32
        editor_.idle();
#endif
        plugin_.publishStateChange();
    }
}

void ClapEditor::beginEdit(int index) {
    tellHost({ParameterEdit::Kind::Begin, index, 0.0f});
}

void ClapEditor::valueEdited(int index, float value) {
    tellHost({ParameterEdit::Kind::Value, index, value});
}

void ClapEditor::endEdit(int index) {
    tellHost({ParameterEdit::Kind::End, index, 0.0f});
}

void ClapEditor::tellHost(const ParameterEdit& edit) {
    if (plugin_.edits().push(edit)) {
        plugin_.host().requestFlush();
    }
}

} // namespace Korvatune::Clap
