#pragma once
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace tavrok::test {

// Sets an environment variable (or removes it, given no value) while it lives, then puts back
// what was there before.
class ScopedEnvironment {
  public:
    ScopedEnvironment(std::string name, const std::optional<std::string>& value)
        : m_name(std::move(name)) {
        if (const char* previous = std::getenv(m_name.c_str())) {
            m_previous = previous;
        }
        set(value);
    }
    ~ScopedEnvironment() { set(m_previous); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void set(const std::optional<std::string>& value) const {
        if (value) {
            setenv(m_name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(m_name.c_str());
        }
    }

  private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

}  // namespace tavrok::test
