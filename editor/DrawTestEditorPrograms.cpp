#include "editor/DrawTestEditor.h"

#include "editor/EditorPalette.h"
#include "editor/MenuEntries.h"
#include "gui/PopupMenu.h"
#include "platform/ProgramLibraryFolder.h"
#include "platform/TextPaths.h"
#include "plugin/VstXSynth.h"
#include "programs/FactoryBank.h"
#include "programs/ProgramFile.h"
#include "programs/ProgramLibrary.h"

#include <string>

namespace Korvatune {

namespace {

// Menu ids: programs of the bank by their index, library files from here on.
constexpr int kFirstLibraryId = 1000;

std::string numberedProgramName(VstXSynth& synth, int program) {
    char name[kProgramNameCapacity + 1] = {};
    synth.getProgramNameIndexed(0, program, name);
    return std::to_string(program) + ": " + name;
}

} // namespace

std::filesystem::path DrawTestEditor::libraryFolder() const {
    return Platform::programLibraryFolder().value_or(std::filesystem::path{});
}

void DrawTestEditor::selectProgramByUser(int program) {
    if (program < 0 || program >= kNumPrograms || program == synth_.getProgram()) {
        return;
    }
    recordProgramStep([this, program] {
        synth_.setProgram(program);
        synth_.reportStateChange();
    });
    refreshEverything();
    // A shell whose editor drives a copy of the instrument passes the values on as edits.
    for (int index = 0; index < kNumProgramKeys; ++index) {
        reportEdit(index);
    }
    endGestures();
}

void DrawTestEditor::stepProgram(int direction) {
    const int count = kNumPrograms;
    selectProgramByUser((synth_.getProgram() + direction + count) % count);
}

// The list is read anew each time, so files added meanwhile show up.
void DrawTestEditor::openProgramList() {
    Gui::Frame* frame = getFrame();
    const Gui::Control* name =
        synthPage_ != nullptr ? synthPage_->control(kTagProgramList) : nullptr;
    if (frame == nullptr || name == nullptr) {
        return;
    }
    std::vector<Gui::MenuEntry> entries;
    for (int program = 0; program < kNumPrograms; ++program) {
        entries.push_back(menuItem(numberedProgramName(synth_, program), program));
    }
    listedLibraryFiles_.clear();
    const std::filesystem::path folder = libraryFolder();
    entries.push_back(menuSeparator());
    entries.push_back(menuItem("LIBRARY: " + Platform::pathToUtf8(folder), 0, false));
    const auto addLibrary =
        [this](const auto& self,
               const std::vector<LibraryEntry>& library) -> std::vector<Gui::MenuEntry> {
        std::vector<Gui::MenuEntry> level;
        for (const LibraryEntry& entry : library) {
            if (entry.isFolder) {
                level.push_back(subMenu(entry.name, self(self, entry.children)));
                continue;
            }
            const int id = kFirstLibraryId + static_cast<int>(listedLibraryFiles_.size());
            listedLibraryFiles_.push_back(entry.path);
            level.push_back(menuItem(entry.name, id, entry.readable));
        }
        return level;
    };
    for (Gui::MenuEntry& entry : addLibrary(addLibrary, scanProgramLibrary(folder))) {
        entries.push_back(std::move(entry));
    }
    const Gui::Point below{name->rect().left, name->rect().bottom};
    frame->openPopup(std::make_unique<Gui::PopupMenu>(below + name->parentOrigin(),
                                                      std::move(entries), kEditorMenuStyle,
                                                      [this](int id) { programListChosen(id); }));
}

void DrawTestEditor::programListChosen(int id) {
    if (id < kFirstLibraryId) {
        selectProgramByUser(id);
        return;
    }
    const auto file = static_cast<std::size_t>(id - kFirstLibraryId);
    if (file < listedLibraryFiles_.size()) {
        loadChosenProgram(listedLibraryFiles_[file]);
    }
}

void DrawTestEditor::resetProgramBaseline() {
    for (int index = 0; index < kNumProgramKeys; ++index) {
        programBaseline_[static_cast<std::size_t>(index)] = synth_.getParameter(index);
    }
    baselineProgram_ = synth_.getProgram();
    showProgramName();
}

// The mark tells the sound differs from the program as it was selected or loaded.
void DrawTestEditor::showProgramName() {
    if (baselineProgram_ != synth_.getProgram()) {
        resetProgramBaseline();
        return;
    }
    bool edited = false;
    for (int index = 0; index < kNumProgramKeys; ++index) {
        edited = edited ||
                 programBaseline_[static_cast<std::size_t>(index)] != synth_.getParameter(index);
    }
    shownEdited_ = edited;
    if (synthPage_ != nullptr) {
        synthPage_->showProgramName(synth_.getProgram(), synth_.currentProgram().getName().c_str(),
                                    edited);
    }
}

void DrawTestEditor::updateEditedMark() {
    bool edited = false;
    for (int index = 0; index < kNumProgramKeys; ++index) {
        edited = edited ||
                 programBaseline_[static_cast<std::size_t>(index)] != synth_.getParameter(index);
    }
    if (edited != shownEdited_ || baselineProgram_ != synth_.getProgram()) {
        showProgramName();
    }
}

} // namespace Korvatune
