// Exceptions and the two error reports.
#pragma once
#include <string>

namespace fw {

// Every error the program reports is one of these; the class name is part of
// the last-resort report, so each subclass names itself.
class Exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    virtual ~Exception() = default;
    virtual const char* ClassName() const { return "Exception"; }
    const std::string& Message() const { return message_; }
    void* RaiseAddress() const { return address_; }
    void SetRaiseAddress(void* address) { address_ = address; }

private:
    std::string message_;
    void* address_ = nullptr;
};

#define FW_EXCEPTION_CLASS(Name, Base)                           \
    class Name : public Base {                                   \
        using Inherited = Base;                                  \
                                                                 \
    public:                                                      \
        using Inherited::Inherited;                              \
        const char* ClassName() const override { return #Name; } \
    }

FW_EXCEPTION_CLASS(EAbort, Exception);
FW_EXCEPTION_CLASS(EInvalidOperation, Exception);
FW_EXCEPTION_CLASS(EOutOfResources, Exception);
FW_EXCEPTION_CLASS(EOSError, Exception);

// Throws e, remembering the code address of the caller for the reports.
template <class E>
[[noreturn]] __attribute__((noinline)) void Raise(E e) {
    e.SetRaiseAddress(__builtin_return_address(0));
    throw e;
}

// Raises EOSError with the system's text for the calling thread's last error.
[[noreturn]] void RaiseLastOSError();

// The system's own text for an error code, without the trailing line break.
std::string SystemErrorMessage(unsigned long code);

// sprintf into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The message as the default error report shows it: "." appended when the
// text is not empty and its last character sorts after ".".
std::string DefaultReportText(const std::string& message);

// The last-resort report's text for an exception that left the entry block.
std::string LastResortReportText(const char* className, const std::string& moduleName,
                                 const void* address, const std::string& message);

// The file name part of a path (code-page aware: 0x5C can be a trail byte).
std::string ExtractFileName(const std::string& path);

}  // namespace fw
