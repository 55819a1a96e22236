#include "Dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "Forms.h"

namespace fw {

bool TOpenDialog::Execute() {
    // Room for any path the dialog can produce, not just MAX_PATH.
    std::vector<char> file(32768, '\0');
    FileName.copy(file.data(), file.size() - 1);
    std::string filter = Filter;
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.append(2, '\0');

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Application ? Application->Handle() : nullptr;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    dialog.Flags = OFN_EXPLORER | ((Options & ofHideReadOnly) ? OFN_HIDEREADONLY : 0);

    HWND active = GetActiveWindow();
    std::vector<HWND> disabled = DisableTaskWindows(nullptr);
    BOOL chosen = GetOpenFileNameA(&dialog);
    EnableTaskWindows(disabled);
    if (active && IsWindow(active)) SetActiveWindow(active);
    if (chosen) FileName = file.data();
    return chosen != FALSE;
}

void TOpenDialog::SetProperty(const std::string& name, const PropValue& value) {
    if (name == "Filter")
        Filter = value.text;
    else if (name == "InitialDir")
        InitialDir = value.text;
    else if (name == "FileName")
        FileName = value.text;
    else if (name == "Options")
        Options = static_cast<unsigned>(value.number);
    else
        UnknownProperty(name);
}

}  // namespace fw
