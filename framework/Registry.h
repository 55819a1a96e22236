// Settings in the registry, read and written as text values of sections.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "SysUtils.h"

namespace fw {

FW_EXCEPTION_CLASS(ERegistryException, Exception);

// Text to a signed 32-bit number: leading blanks, then an optional sign and
// decimal digits, or "$" and hexadecimal digits (taken as 32 bits), and
// nothing after. False for anything else or a decimal beyond 32 bits.
bool TryStrToInt(const std::string& text, int32_t& value);
int32_t StrToIntDef(const std::string& text, int32_t fallback);

// A key below HKEY_CURRENT_USER whose subkeys are sections and whose values
// are texts. The key is opened or created at construction; when it can
// neither be opened nor created the root itself serves as the key.
class TRegIniFile {
public:
    explicit TRegIniFile(const std::string& key, HKEY root = HKEY_CURRENT_USER);
    virtual ~TRegIniFile();
    TRegIniFile(const TRegIniFile&) = delete;
    TRegIniFile& operator=(const TRegIniFile&) = delete;

    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& fallback);
    int32_t ReadInteger(const std::string& section, const std::string& ident, int32_t fallback);
    bool ReadBool(const std::string& section, const std::string& ident, bool fallback);
    void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& ident, int32_t value);
    void WriteBool(const std::string& section, const std::string& ident, bool value);

protected:
    // The rights a section is opened with for writing.
    virtual REGSAM WriteAccess() const { return KEY_ALL_ACCESS; }

private:
    // Reads a value of the open section as text; false when it does not exist.
    bool ReadValue(HKEY section, const std::string& ident, std::string& text);

    HKEY root_;
    HKEY key_ = nullptr;
};

}  // namespace fw
