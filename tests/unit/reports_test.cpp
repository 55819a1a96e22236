// The application title and the texts of the two error reports.
#include <gtest/gtest.h>
#include <windows.h>

#include "../../framework/Forms.h"
#include "../../framework/SysUtils.h"

namespace {

TEST(Texts, SourcesReachWindowsAsShiftJis) {
    EXPECT_EQ(932u, GetACP()) << "the tests expect the Japanese code page";
    EXPECT_EQ(std::string("\x83\x5C\x83\x89\x83\x8A\x83\x80\x20"), std::string("ソラリム "));
}

TEST(ApplicationTitle, FromTheProgramFileName) {
    struct {
        const char* path;
        const char* title;
    } const cases[] = {
        {"C:\\Program Files\\Solarim\\Solarim.exe", "Solarim"},
        {"C:\\tools\\SOLARIM.EXE", "Solarim"},
        {"C:\\tools\\solarim.exe", "solarim"},  // the first character is kept as it is
        {"C:\\tools\\my.app.exe", "my"},        // everything from the first "."
        {"C:\\tools\\NoExtension", "Noextension"},
        {"C:\\tools\\.exe", ""},
        // ソ ends in the byte of "\": neither the folder nor the name may split there.
        {"C:\\ソフト\\ソラリム.exe", "ソラリム"},
        {"C:\\ソ\\ABC.exe", "Abc"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.title, fw::TitleFromModulePath(c.path)) << c.path;
}

TEST(DefaultReport, AppendsAStopAfterCharactersThatSortAfterIt) {
    struct {
        const char* message;
        const char* shown;
    } const cases[] = {
        {"", ""},
        {"Registration Error", "Registration Error."},
        {"Done.", "Done."},
        {"a-", "a-"},    // "-" sorts before "."
        {"a!", "a!"},
        {"a/", "a/."},   // "/" sorts after "."
        {"'normal' のﾃﾞｰﾀ型が不正です", "'normal' のﾃﾞｰﾀ型が不正です."},
        {"ﾃﾞｰﾀ", "ﾃﾞｰﾀ."},
    };
    for (const auto& c : cases) EXPECT_EQ(c.shown, fw::DefaultReportText(c.message)) << c.message;
}

TEST(LastResortReport, FillsTheTemplate) {
    void* address = reinterpret_cast<void*>(0x00401A2F);
    EXPECT_EQ("EIconTrayErrorがﾓｼﾞｭｰﾙ Solarim.exe の 00401A2F で発生しました。\nRegistration Error.",
              fw::LastResortReportText("EIconTrayError", "Solarim.exe", address, "Registration Error"));
    EXPECT_EQ("EAbortがﾓｼﾞｭｰﾙ Solarim.exe の 00000010 で発生しました。\nStopped.",
              fw::LastResortReportText("EAbort", "Solarim.exe", reinterpret_cast<void*>(0x10), "Stopped."));
}

TEST(LastResortReport, RaiseRecordsWhereTheErrorCameFrom) {
    try {
        fw::Raise(fw::EInvalidOperation("x"));
    } catch (const fw::Exception& error) {
        EXPECT_STREQ("EInvalidOperation", error.ClassName());
        HMODULE module = nullptr;
        EXPECT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                       static_cast<const char*>(error.RaiseAddress()), &module));
        EXPECT_EQ(GetModuleHandleA(nullptr), module) << "the address lies in the program's own code";
    }
}

TEST(DefaultReport, GuardedHandlersReportAndCarryOn) {
    fw::TApplication application;
    std::vector<std::string> reports;
    application.OnReport = [&](const std::string& text) { reports.push_back(text); };
    fw::Guarded([] { fw::Raise(fw::EInvalidOperation("first")); });
    fw::Guarded([] { throw fw::EAbort("silent"); });
    fw::Guarded([] { throw std::runtime_error("second"); });
    EXPECT_EQ((std::vector<std::string>{"first.", "second."}), reports);
}

}  // namespace
