#pragma once
// What the build fixed, read from the headers CMake generates: the version of
// project() in CMakeLists.txt and the gateway of ANNUVIA_GATEWAY_BASE. Tests
// expect these, so they hold for a build with another version or gateway.

#include <string>

#include "core/version.h"
#include "core/web/gateway.h"

namespace annuvia::test {

// The title of every window: the name and the version.
inline const std::wstring kTitle = L"Annuvia v" ANNUVIA_VERSION_TEXT;
// Scheme and host, and the host alone as the captions name it.
inline const std::wstring kGateway = ANNUVIA_GATEWAY_BASE;
inline const std::wstring kHost = ANNUVIA_GATEWAY_HOST;
// Every page the program opens is this and a page key.
inline const std::wstring kPage = kGateway + L"/annuvia/ssd.php?page=";

}  // namespace annuvia::test
