#pragma once

#include "gui/FileSelector.h"

#include <string>

namespace Korvatune::Gui {

// The system's modal open and save dialogs. The answer comes before select() returns; the
// dialog belongs to the active window of the calling thread.
class Win32FileDialog : public IFileSelector {
public:
    void select(const FileSelectRequest& request, FileSelectAnswer answer) override;

    // The dialog's filter list: per type "name (*.ext)" and "*.ext", each ended by a zero, and a
    // final zero.
    static std::wstring filterFor(const FileSelectRequest& request);
};

} // namespace Korvatune::Gui
