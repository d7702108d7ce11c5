// The file name of X-Plane's SDK library in Resources/plugins, which differs by platform.
#pragma once

namespace talvenor::os {

#ifdef _WIN32
inline constexpr char kXplmLibraryFileName[] = "XPLM_64.DLL";
#else
inline constexpr char kXplmLibraryFileName[] = "XPLM_64.so";
#endif

}  // namespace talvenor::os
