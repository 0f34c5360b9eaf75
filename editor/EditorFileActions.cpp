#include "editor/DrawTestEditor.h"

#include "editor/SoundExport.h"
#include "platform/ProgramLibraryFolder.h"
#include "platform/TextPaths.h"
#include "plugin/VstXSynth.h"
#include "programs/ProgramFile.h"
#include "programs/ProgramLibrary.h"

#include <vector>

namespace Korvatune {

namespace {

Gui::FileSelectRequest waveformFileRequest() {
    return {Gui::FileSelectCommand::Load,
            "Open waveform file",
            {{"RAW File", "RAW", "raw", "audio/raw", "audio/raw"},
             {"Wave File", "WAVE", "wav", "audio/wav", "audio/x-wav"}},
            {}};
}

Gui::FileSelectRequest programFileRequest(Gui::FileSelectCommand command, const char* title) {
    return {command,
            title,
            {{kProgramFileTypeName, "OBP", kProgramFileExtension, kProgramFileMimeType,
              kProgramFileMimeType}},
            {}};
}

Gui::FileSelectRequest exportRequest(std::filesystem::path proposed) {
    return {Gui::FileSelectCommand::Save,
            "Export sound",
            {{"Wave File", "WAVE", "wav", "audio/wav", "audio/x-wav"}},
            std::move(proposed)};
}

// The folder, made when first needed; where it cannot be made the dialog starts elsewhere.
std::filesystem::path proposedPath(const std::optional<std::filesystem::path>& folder,
                                   const std::string& fileName) {
    std::string error;
    if (!folder || !Platform::ensureFolder(*folder, error)) {
        return fileName;
    }
    return *folder / Platform::pathFromUtf8(fileName);
}

std::vector<float> userTableCopy(WaveformProvider& provider, int index) {
    const float* table = provider.getTableAt(index);
    return {table, table + WaveformProvider::kTableSize};
}

bool isUserWaveform(float value) {
    const int index = WaveformProvider::waveformIndex(value);
    return index >= WaveformProvider::kFirstUserWaveform &&
           index < WaveformProvider::kFirstUserWaveform + WaveformProvider::kNumUserWaveforms;
}

} // namespace

// User tables are replaced only while no block renders, and only the user slot that
// oscillator 1 plays is ever written.
bool DrawTestEditor::canLoadWaveformFile() {
    return !synth_.isRunning() && isUserWaveform(synth_.getParameter(kOscWaveform));
}

void DrawTestEditor::openWaveformFile() {
    if (!fileSelector_ || !canLoadWaveformFile()) {
        return;
    }
    fileSelector_->select(waveformFileRequest(), [this](auto chosen) {
        if (chosen) {
            loadChosenWaveform(*chosen);
        }
    });
}

// A dialog of its own answers later, by which time the host may have resumed processing.
void DrawTestEditor::loadChosenWaveform(const std::filesystem::path& path) {
    if (!canLoadWaveformFile()) {
        return;
    }
    WaveformProvider& provider = *synth_.getWaveformProvider();
    const int index = WaveformProvider::waveformIndex(synth_.getParameter(kOscWaveform));
    const std::vector<float> before = userTableCopy(provider, index);
    if (provider.loadUserWaveform(Platform::pathToUtf8(path).c_str(),
                                  synth_.getParameter(kOscWaveform))) {
        const std::vector<float> after = userTableCopy(provider, index);
        history_.record({[this, index, before] { restoreUserTable(index, before); },
                         [this, index, after] { restoreUserTable(index, after); }});
        showUserTableChange();
    }
}

// An undone load puts the table's samples back, whether or not the instrument plays.
void DrawTestEditor::restoreUserTable(int index, const std::vector<float>& samples) {
    WaveformProvider& provider = *synth_.getWaveformProvider();
    provider.replaceUserTable(index - WaveformProvider::kFirstUserWaveform, samples.data());
    provider.markTablesChanged();
    showUserTableChange();
}

void DrawTestEditor::showUserTableChange() {
    synth_.reportStateChange();
    for (int oscillator = 1; oscillator <= kNumOscillators; ++oscillator) {
        refreshWaveformPicture(oscillator);
    }
}

void DrawTestEditor::loadProgramFile() {
    if (!fileSelector_) {
        return;
    }
    fileSelector_->select(programFileRequest(Gui::FileSelectCommand::Load, "Load OB program file"),
                          [this](auto chosen) {
                              if (chosen) {
                                  loadChosenProgram(*chosen);
                              }
                          });
}

// An unreadable file leaves the program as it was; selecting it again and refreshing is
// harmless then. Every value counts as an edit of the user's.
void DrawTestEditor::loadChosenProgram(const std::filesystem::path& path) {
    recordProgramStep([this, &path] {
        readProgramFile(synth_.currentProgram(), Platform::pathToUtf8(path).c_str());
        synth_.setProgram(synth_.getProgram());
        synth_.reportStateChange();
    });
    refreshEverything();
    for (int index = 0; index < kNumProgramKeys; ++index) {
        reportEdit(index);
    }
    endGestures();
}

void DrawTestEditor::saveProgramFile() {
    if (!fileSelector_) {
        return;
    }
    Gui::FileSelectRequest request =
        programFileRequest(Gui::FileSelectCommand::Save, "Save OB program file");
    request.initialPath = proposedPath(Platform::programLibraryFolder(),
                                       programFileNameFor(synth_.currentProgram().getName()));
    fileSelector_->select(request, [this](auto chosen) {
        if (chosen) {
            writeProgramFile(Platform::pathToUtf8(*chosen).c_str(), synth_.currentProgram());
        }
    });
}

void DrawTestEditor::exportCurrentSound() {
    if (!fileSelector_) {
        return;
    }
    std::string fileName = programFileNameFor(synth_.currentProgram().getName());
    fileName = fileName.substr(0, fileName.rfind('.')) + ".wav";
    fileSelector_->select(exportRequest(proposedPath(Platform::exportFolder(), fileName)),
                          [this](auto chosen) {
                              if (chosen) {
                                  writeExport(*chosen);
                              }
                          });
}

// Rendered by a copy of the instrument, so the host's sound goes on untouched.
void DrawTestEditor::writeExport(const std::filesystem::path& path) {
    const ExportResult result = Korvatune::exportSound(synth_, path, synth_.getSampleRate());
    showReadout(result.ok ? "Exported " + Platform::pathToUtf8(path.filename())
                          : "Export failed: " + result.error);
}

} // namespace Korvatune
