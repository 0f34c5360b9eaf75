#pragma once

#include <string>
#include <string_view>

namespace Korvatune::Platform {

// Conversions for the wide Windows functions; invalid sequences become replacement characters.
std::wstring wideFromUtf8(std::string_view text);
std::string utf8FromWide(std::wstring_view text);

} // namespace Korvatune::Platform
