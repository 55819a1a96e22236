// The file-open dialog.
#pragma once
#include <string>

#include "Classes.h"

namespace fw {

enum TOpenOption : unsigned { ofHideReadOnly = 1 };

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
    const char* ClassName() const override { return "TOpenDialog"; }

    std::string Filter;  // "description|pattern|..."
    std::string InitialDir;
    std::string FileName;  // the chosen file after OK; offered again next time
    unsigned Options = 0;

    // Shows the dialog owned by the application window; true when a file was
    // chosen. The program's other visible windows are disabled meanwhile.
    bool Execute();

    void SetProperty(const std::string& name, const PropValue& value) override;
};

}  // namespace fw
