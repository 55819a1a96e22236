#include "Registry.h"

#include <vector>

#include "Consts.h"

namespace fw {

bool TryStrToInt(const std::string& text, int32_t& value) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && text[i] == '$') {
        ++i;
        if (i == text.size()) return false;
        uint64_t number = 0;
        for (; i < text.size(); ++i) {
            char c = text[i];
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                return false;
            number = number * 16 + static_cast<unsigned>(digit);
            if (number > 0xFFFFFFFFull) return false;
        }
        value = static_cast<int32_t>(static_cast<uint32_t>(number));
        return true;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    uint64_t number = 0;
    const uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9') return false;
        number = number * 10 + static_cast<unsigned>(c - '0');
        if (number > limit) return false;
    }
    value = static_cast<int32_t>(negative ? -static_cast<int64_t>(number) : static_cast<int64_t>(number));
    return true;
}

int32_t StrToIntDef(const std::string& text, int32_t fallback) {
    int32_t value;
    return TryStrToInt(text, value) ? value : fallback;
}

TRegIniFile::TRegIniFile(const std::string& key, HKEY root) : root_(root) {
    if (RegCreateKeyExA(root_, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key_, nullptr) != ERROR_SUCCESS)
        key_ = nullptr;
}

TRegIniFile::~TRegIniFile() {
    if (key_) RegCloseKey(key_);
}

bool TRegIniFile::ReadValue(HKEY section, const std::string& ident, std::string& text) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(section, ident.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    text.clear();
    if (size == 0) return true;
    if (type != REG_SZ && type != REG_EXPAND_SZ) Raise(ERegistryException(Format(consts::kInvalidRegType, ident.c_str())));
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(section, ident.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) == ERROR_SUCCESS)
        text = data.data();  // up to the first terminator
    return true;
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& fallback) {
    HKEY sectionKey;
    // Reading never creates the section.
    if (RegOpenKeyExA(key_ ? key_ : root_, section.c_str(), 0, KEY_READ, &sectionKey) != ERROR_SUCCESS)
        return fallback;
    std::string text;
    bool found;
    try {
        found = ReadValue(sectionKey, ident, text);
    } catch (...) {
        RegCloseKey(sectionKey);
        throw;
    }
    RegCloseKey(sectionKey);
    return found ? text : fallback;
}

int32_t TRegIniFile::ReadInteger(const std::string& section, const std::string& ident, int32_t fallback) {
    const std::string missing = std::string(1, '\0');  // no stored text can equal it
    std::string text = ReadString(section, ident, missing);
    if (text == missing) return fallback;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text = "$" + text.substr(2);
    return StrToIntDef(text, fallback);
}

bool TRegIniFile::ReadBool(const std::string& section, const std::string& ident, bool fallback) {
    return ReadInteger(section, ident, fallback ? 1 : 0) != 0;
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident,
                              const std::string& value) {
    HKEY base = key_ ? key_ : root_;
    HKEY sectionKey;
    if (RegOpenKeyExA(base, section.c_str(), 0, WriteAccess(), &sectionKey) != ERROR_SUCCESS) {
        HKEY created;
        if (RegCreateKeyExA(base, section.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &created, nullptr) != ERROR_SUCCESS)
            Raise(ERegistryException(Format(consts::kRegCreateFailed, section.c_str())));
        RegCloseKey(created);
        if (RegOpenKeyExA(base, section.c_str(), 0, WriteAccess(), &sectionKey) != ERROR_SUCCESS) return;
    }
    LSTATUS status = RegSetValueExA(sectionKey, ident.c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>(value.size() + 1));
    RegCloseKey(sectionKey);
    if (status != ERROR_SUCCESS) Raise(ERegistryException(Format(consts::kRegSetDataFailed, ident.c_str())));
}

void TRegIniFile::WriteInteger(const std::string& section, const std::string& ident, int32_t value) {
    WriteString(section, ident, Format("%d", static_cast<int>(value)));
}

void TRegIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteInteger(section, ident, value ? 1 : 0);
}

}  // namespace fw
