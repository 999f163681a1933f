#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "support/ErrorCode.h"

namespace tavrok::support {

// A failure: the code decides the user's message; the detail is for logs and tests, and is
// shown only after the codes that name a value (detailFollowsMessage). The cause is for the
// user too, where there is room for it: the file and the system's reason
// ("/data/n57e011.hgt: No such file or directory"), or why files cannot go together. The
// command line prints it as a second line; the desktop shows it as the message's details.
struct Error {
    ErrorCode code = ErrorCode::None;
    std::string detail;
    std::string cause = {};

    std::string_view message() const { return messageText(code); }
    // What the user reads: the message, and for the codes that name a value, ": " and the
    // detail after it.
    std::string shownText() const {
        std::string text(message());
        if (detailFollowsMessage(code) && !detail.empty()) {
            text += ": " + detail;
        }
        return text;
    }
};

// A value or an Error; the core's return type for anything that can fail.
template <typename T>
class Result {
  public:
    Result(T value) : m_state(std::move(value)) {}
    Result(Error error) : m_state(std::move(error)) {}
    Result(ErrorCode code, std::string detail = {}) : m_state(Error{code, std::move(detail)}) {}

    bool ok() const { return std::holds_alternative<T>(m_state); }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<T>(m_state); }
    const T& value() const& { return std::get<T>(m_state); }
    T&& value() && { return std::get<T>(std::move(m_state)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }

    const Error& error() const { return std::get<Error>(m_state); }

  private:
    std::variant<T, Error> m_state;
};

// Success without a value.
struct Done {};
using Status = Result<Done>;
inline Status success() {
    return Done{};
}

}  // namespace tavrok::support
