// How a screen saver is asked to run: the host passes a switch letter and,
// for preview and settings, the decimal handle of the window to attach to.
#pragma once

enum SaverMode {
    kSaverInvalid,     // unknown switch or malformed handle
    kSaverConfig,      // "/c", "/c:HWND" or no arguments at all
    kSaverPreview,     // "/p HWND" or "/p:HWND"
    kSaverFullScreen,  // "/s"
};

struct SaverArgs {
    SaverMode mode;
    bool hasWindow;
    unsigned long long window;  // only meaningful when hasWindow is set
};

// cmdLine is what follows the program name (WinMain's lpCmdLine).
SaverArgs ParseSaverArgs(const char* cmdLine);
