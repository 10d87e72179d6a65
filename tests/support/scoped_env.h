// An environment variable set (or removed) for the life of a test, restored afterwards.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace jux_test {

class ScopedEnv {
public:
    // value null: the variable is removed for the time.
    ScopedEnv(std::string name, const char* value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) old_ = old;
        if (value) setenv(name_.c_str(), value, 1);
        else unsetenv(name_.c_str());
    }
    ~ScopedEnv() {
        if (old_) setenv(name_.c_str(), old_->c_str(), 1);
        else unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace jux_test
