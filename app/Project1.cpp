// The entry block: the application, its main window, the message loop.
#include <windows.h>

#include "../framework/Consts.h"
#include "../framework/Forms.h"
#include "Unit1.h"
#include "Unit2.h"

namespace {

// An error while the main window is built: nothing can report it but a box
// of its own, and the program ends.
int ShowLastResort(const char* className, const void* address, const std::string& message) {
    char path[MAX_PATH * 4] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text = fw::LastResortReportText(className, fw::ExtractFileName(path), address, message);
    MessageBoxA(nullptr, text.c_str(), fw::consts::kLastResortCaption, MB_TASKMODAL | MB_ICONERROR);
    return 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        fw::TApplication application;
        RegisterProgramClasses();
        application.Initialize();
        application.CreateForm(Form1);
        application.CreateForm(Form2);
        application.Run();
    } catch (const fw::Exception& error) {
        return ShowLastResort(error.ClassName(), error.RaiseAddress(), error.Message());
    } catch (const std::exception& error) {
        return ShowLastResort("Exception", nullptr, error.what());
    }
    return 0;
}
