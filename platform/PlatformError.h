#pragma once
// The one exception type for failures of the platform services we stand in for. Its text is
// exactly what the user is shown ("Cannot open file %s", "Bitmap image is not valid", ...).

#include <stdexcept>
#include <string>
#include <string_view>

namespace pictarium {

class PlatformError : public std::runtime_error {
public:
    explicit PlatformError(const std::string &message) : std::runtime_error(message) {}
};

// Replaces the first "%s" of pattern by argument (the platform's message templates carry one).
std::string formatMessage(std::string_view pattern, std::string_view argument);

} // namespace pictarium
