#include "cmdline.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

const char* SkipSpaces(const char* s) {
    while (IsSpace(*s)) ++s;
    return s;
}

// Reads an unsigned decimal number; false when there is no digit or it overflows.
bool ReadNumber(const char*& s, unsigned long long& value) {
    if (*s < '0' || *s > '9') return false;
    value = 0;
    for (; *s >= '0' && *s <= '9'; ++s) {
        unsigned digit = unsigned(*s - '0');
        if (value > (~0ULL - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return true;
}

// The handle may follow the letter after a colon or after blanks.
bool ReadHandle(const char*& s, unsigned long long& value) {
    if (*s == ':')
        ++s;
    else
        s = SkipSpaces(s);
    return ReadNumber(s, value);
}

}  // namespace

SaverArgs ParseSaverArgs(const char* cmdLine) {
    SaverArgs args = {kSaverInvalid, false, 0};
    const char* s = SkipSpaces(cmdLine ? cmdLine : "");
    if (*s == '\0') {  // started from a file manager: offer the settings
        args.mode = kSaverConfig;
        return args;
    }
    if (*s != '/' && *s != '-') return args;
    char letter = s[1];
    if (letter == '\0') return args;
    if (letter >= 'A' && letter <= 'Z') letter = char(letter - 'A' + 'a');
    s += 2;

    switch (letter) {
    case 's':
        args.mode = kSaverFullScreen;
        break;
    case 'p':
        if (!ReadHandle(s, args.window)) return args;
        args.hasWindow = true;
        args.mode = kSaverPreview;
        break;
    case 'c':
        // The owner handle is optional.
        if (*SkipSpaces(s) != '\0') {
            if (!ReadHandle(s, args.window)) return args;
            args.hasWindow = true;
        }
        args.mode = kSaverConfig;
        break;
    default:
        return args;
    }
    if (*SkipSpaces(s) != '\0') {  // trailing junk: refuse rather than guess
        args.mode = kSaverInvalid;
        args.hasWindow = false;
    }
    return args;
}
