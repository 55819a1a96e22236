// Checks how the saver reads the switches hosts pass to screen savers.
#include <stdio.h>

#include "cmdline.h"

namespace {

struct Case {
    const char* cmdLine;
    SaverMode mode;
    bool hasWindow;
    unsigned long long window;
};

const Case kCases[] = {
    // Settings: plain, with an owner, or no arguments at all.
    {"", kSaverConfig, false, 0},
    {"   ", kSaverConfig, false, 0},
    {"/c", kSaverConfig, false, 0},
    {"-C", kSaverConfig, false, 0},
    {"/c:1234", kSaverConfig, true, 1234},
    {"/c 77", kSaverConfig, true, 77},
    {"/c:", kSaverInvalid, false, 0},
    {"/c:12x", kSaverInvalid, false, 0},
    // Preview needs a handle, after a colon or blanks.
    {"/p 1234", kSaverPreview, true, 1234},
    {"/p:1234", kSaverPreview, true, 1234},
    {"-p 1234", kSaverPreview, true, 1234},
    {"/P 1234", kSaverPreview, true, 1234},
    {"  /p\t 4294967295  ", kSaverPreview, true, 4294967295ULL},
    {"/p 18446744073709551615", kSaverPreview, true, 18446744073709551615ULL},
    {"/p 18446744073709551616", kSaverInvalid, false, 0},  // would wrap round
    {"/p", kSaverInvalid, false, 0},
    {"/p ", kSaverInvalid, false, 0},
    {"/p abc", kSaverInvalid, false, 0},
    {"/p -5", kSaverInvalid, false, 0},
    {"/p 12 34", kSaverInvalid, false, 0},
    // Full screen.
    {"/s", kSaverFullScreen, false, 0},
    {"-S", kSaverFullScreen, false, 0},
    {"/s  ", kSaverFullScreen, false, 0},
    {"/s x", kSaverInvalid, false, 0},
    {"/sx", kSaverInvalid, false, 0},
    // Anything else.
    {"/a 1234", kSaverInvalid, false, 0},
    {"s", kSaverInvalid, false, 0},
    {"/", kSaverInvalid, false, 0},
    {"-", kSaverInvalid, false, 0},
    {"//s", kSaverInvalid, false, 0},
    {"hello", kSaverInvalid, false, 0},
};

}  // namespace

int main() {
    int failures = 0;
    for (const Case& c : kCases) {
        SaverArgs got = ParseSaverArgs(c.cmdLine);
        bool ok = got.mode == c.mode && got.hasWindow == c.hasWindow && (!c.hasWindow || got.window == c.window);
        if (!ok) {
            printf("FAIL \"%s\": mode %d window %d:%llu, expected mode %d window %d:%llu\n", c.cmdLine, got.mode,
                   got.hasWindow, got.window, c.mode, c.hasWindow, c.window);
            ++failures;
        }
    }
    if (ParseSaverArgs(NULL).mode != kSaverConfig) {
        printf("FAIL null command line\n");
        ++failures;
    }
    printf("%s\n", failures ? "hinode_cmdline: FAILED" : "hinode_cmdline: ok");
    return failures ? 1 : 0;
}
