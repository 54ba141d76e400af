#pragma once
// The one error the skin engine raises; the application's event handler shows its text.

#include <stdexcept>
#include <string>

class ESuiError : public std::runtime_error {
public:
    explicit ESuiError(const std::string& message) : std::runtime_error(message) {}
};
