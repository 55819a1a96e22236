#include "SysUtils.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "Consts.h"

namespace fw {

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string result;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        result.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(args);
    return result;
}

std::string SystemErrorMessage(unsigned long code) {
    char* text = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = length ? std::string(text, length) : Format("Error %lu", code);
    LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}

void RaiseLastOSError() {
    DWORD code = GetLastError();
    EOSError error(SystemErrorMessage(code));
    error.SetRaiseAddress(__builtin_return_address(0));
    throw error;
}

namespace {

// Start of the last character of text (a double-byte character counts as one).
const char* LastChar(const std::string& text) {
    const char* p = text.c_str();
    const char* last = p;
    while (*p) {
        last = p;
        p = CharNextA(p);
    }
    return last;
}

}  // namespace

std::string DefaultReportText(const std::string& message) {
    if (message.empty()) return message;
    // The last character compared as text with "."; for a double-byte
    // character its lead byte decides.
    if (static_cast<unsigned char>(*LastChar(message)) > '.') return message + ".";
    return message;
}

std::string LastResortReportText(const char* className, const std::string& moduleName,
                                 const void* address, const std::string& message) {
    std::string hexAddress = Format("%08llX", static_cast<unsigned long long>(
                                                  reinterpret_cast<uintptr_t>(address)));
    bool endsWithDot = !message.empty() && message.back() == '.';
    return Format(consts::kLastResortTemplate, className, moduleName.c_str(), hexAddress.c_str(),
                  message.c_str(), endsWithDot ? "" : ".");
}

std::string ExtractFileName(const std::string& path) {
    const char* start = path.c_str();
    for (const char* p = start; *p; p = CharNextA(p))
        if (*p == '\\' || *p == '/' || *p == ':') start = p + 1;
    return start;
}

}  // namespace fw
