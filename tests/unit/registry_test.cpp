// How the two options are read from and written to the registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "../../framework/Registry.h"

namespace {

constexpr char kTestKey[] = "Software\\SolarimTests\\Registry";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }

    // Stores raw bytes of a given type as value `name` of section "saver".
    static void Store(const char* name, DWORD type, const std::string& bytes) {
        HKEY section;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kTestKey) + "\\saver").c_str(),
                                                 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &section, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(section, name, 0, type,
                                                reinterpret_cast<const BYTE*>(bytes.data()),
                                                static_cast<DWORD>(bytes.size())));
        RegCloseKey(section);
    }
    static std::string Text(const char* text) { return std::string(text) + '\0'; }
};

struct ReadCase {
    const char* label;
    DWORD type;
    std::string bytes;
    bool expected;  // read with the default false; invalid text gives the default
    bool invalid;   // no number: with the default true the result is true
};

TEST_F(RegistryTest, ReadingRuleForEveryStoredForm) {
    const std::vector<ReadCase> cases = {
        // on: any non-zero number
        {"two", REG_SZ, Text("2"), true, false},
        {"minus one", REG_SZ, Text("-1"), true, false},
        {"leading blank", REG_SZ, Text(" 1"), true, false},
        {"several blanks and plus", REG_SZ, Text("   +7"), true, false},
        {"hex 0x1F", REG_SZ, Text("0x1F"), true, false},
        {"hex 0X1", REG_SZ, Text("0X1"), true, false},
        {"dollar hex", REG_SZ, Text("$10"), true, false},
        {"hex lower case", REG_SZ, Text("$ff"), true, false},
        {"hex above 7FFFFFFF is negative", REG_SZ, Text("$FFFFFFFF"), true, false},
        {"0x80000000", REG_SZ, Text("0x80000000"), true, false},
        {"largest int", REG_SZ, Text("2147483647"), true, false},
        {"smallest int", REG_SZ, Text("-2147483648"), true, false},
        {"expandable string", REG_EXPAND_SZ, Text("1"), true, false},
        {"text ends at its terminator", REG_SZ, std::string("1\0" "9x", 4), true, false},
        // off: the number is zero
        {"double zero", REG_SZ, Text("00"), false, false},
        {"hex zero", REG_SZ, Text("0x0"), false, false},
        {"dollar zero", REG_SZ, Text("$0"), false, false},
        {"minus zero", REG_SZ, Text("-0"), false, false},
        // no number: the default
        {"empty text", REG_SZ, Text(""), false, true},
        {"zero-length string", REG_SZ, "", false, true},
        {"zero-length dword", REG_DWORD, "", false, true},
        {"zero-length binary", REG_BINARY, "", false, true},
        {"letters", REG_SZ, Text("abc"), false, true},
        {"trailing blank", REG_SZ, Text("1 "), false, true},
        {"leading tab", REG_SZ, Text("\t1"), false, true},
        {"0x alone", REG_SZ, Text("0x"), false, true},
        {"dollar alone", REG_SZ, Text("$"), false, true},
        {"sign alone", REG_SZ, Text("-"), false, true},
        {"signed hex", REG_SZ, Text("-$1"), false, true},
        {"decimal point", REG_SZ, Text("1.0"), false, true},
        {"beyond 32 bits", REG_SZ, Text("2147483648"), false, true},
        {"below 32 bits", REG_SZ, Text("-2147483649"), false, true},
        {"hex beyond 32 bits", REG_SZ, Text("$100000000"), false, true},
        {"0x hex beyond 32 bits", REG_SZ, Text("0x100000000"), false, true},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.label);
        Store("task", c.type, c.bytes);
        fw::TRegIniFile settings(kTestKey);
        EXPECT_EQ(c.expected, settings.ReadBool("saver", "task", false));
        EXPECT_EQ(c.invalid ? true : c.expected, settings.ReadBool("saver", "task", true));
    }
}

TEST_F(RegistryTest, MissingSectionOrValueGivesTheDefault) {
    {
        fw::TRegIniFile settings(kTestKey);
        EXPECT_TRUE(settings.ReadBool("saver", "normal", true));
        EXPECT_FALSE(settings.ReadBool("saver", "task", false));
    }
    // Reading never creates the section.
    HKEY section;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kTestKey) + "\\saver").c_str(), 0,
                                           KEY_READ, &section));
    Store("other", REG_SZ, Text("0"));
    fw::TRegIniFile settings(kTestKey);
    EXPECT_TRUE(settings.ReadBool("saver", "normal", true));
}

TEST_F(RegistryTest, ValuesOfOtherTypesAreReportedByName) {
    struct {
        DWORD type;
        std::string bytes;
    } const cases[] = {{REG_DWORD, std::string("\1\0\0\0", 4)}, {REG_BINARY, "1"}, {REG_MULTI_SZ, std::string("1\0\0", 3)}};
    for (const auto& c : cases) {
        Store("normal", c.type, c.bytes);
        fw::TRegIniFile settings(kTestKey);
        try {
            settings.ReadBool("saver", "normal", true);
            ADD_FAILURE() << "type " << c.type << " was read";
        } catch (const fw::ERegistryException& error) {
            EXPECT_EQ("'normal' のﾃﾞｰﾀ型が不正です", error.Message());
            EXPECT_STREQ("ERegistryException", error.ClassName());
        }
    }
}

TEST_F(RegistryTest, WritingCreatesTheSectionAndStoresTwoByteStrings) {
    {
        fw::TRegIniFile settings(kTestKey);
        settings.WriteBool("saver", "normal", true);
        settings.WriteBool("saver", "task", false);
    }
    HKEY section;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kTestKey) + "\\saver").c_str(), 0,
                                           KEY_READ, &section));
    for (auto [name, digit] : {std::pair{"normal", '1'}, std::pair{"task", '0'}}) {
        char data[8] = {};
        DWORD type = 0, size = sizeof data;
        ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(section, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size));
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), type) << name;
        EXPECT_EQ(2u, size) << name;
        EXPECT_EQ(digit, data[0]) << name;
        EXPECT_EQ('\0', data[1]) << name;
    }
    RegCloseKey(section);
}

TEST_F(RegistryTest, SectionThatCannotBeCreatedIsReportedByName) {
    // A volatile key cannot hold a lasting subkey, so creating the section fails.
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, REG_OPTION_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
    fw::TRegIniFile settings(kTestKey);
    try {
        settings.WriteBool("saver", "normal", true);
        FAIL() << "the section was created";
    } catch (const fw::ERegistryException& error) {
        EXPECT_EQ("ｷｰ saver の作成に失敗しました", error.Message());
    }
}

// Opens sections for writing with read rights only, so setting a value fails.
class ReadOnlySections : public fw::TRegIniFile {
public:
    using fw::TRegIniFile::TRegIniFile;

protected:
    REGSAM WriteAccess() const override { return KEY_READ; }
};

TEST_F(RegistryTest, ValueThatCannotBeSetIsReportedByName) {
    Store("normal", REG_SZ, Text("0"));
    ReadOnlySections settings(kTestKey);
    try {
        settings.WriteBool("saver", "task", true);
        FAIL() << "the value was set";
    } catch (const fw::ERegistryException& error) {
        EXPECT_EQ("'task' の設定に失敗しました", error.Message());
    }
}

TEST(StrToInt, AcceptsOnlyWholeNumbers) {
    int32_t value = 0;
    EXPECT_TRUE(fw::TryStrToInt("$7fffffff", value));
    EXPECT_EQ(INT32_MAX, value);
    EXPECT_TRUE(fw::TryStrToInt("$80000000", value));
    EXPECT_EQ(INT32_MIN, value);
    EXPECT_TRUE(fw::TryStrToInt("$000000001", value));  // leading zeros do not overflow
    EXPECT_EQ(1, value);
    EXPECT_EQ(-5, fw::StrToIntDef("12a", -5));
}

}  // namespace
