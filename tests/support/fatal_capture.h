// Runs code that is expected to end the program through core::fatal and returns the message
// instead (the handler jumps back; the builds have no exceptions).
#pragma once

#include <functional>
#include <string>

namespace test_support {

// Runs body with a handler that records the fatal message and jumps back out of it. Returns
// the message, or "" when body finished without a fatal error. The jump skips destructors
// inside body: declare the objects it touches outside it.
std::string capture_fatal(const std::function<void()>& body);

}  // namespace test_support
