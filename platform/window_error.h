#pragma once

#include <stdexcept>

namespace morvantel {

// A window operation that failed. Whatever handler was running stops, and the
// program reports the failure and ends.
class WindowError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace morvantel
