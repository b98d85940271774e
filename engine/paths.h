// Path helpers shared by the portable core.
#pragma once

#include <string>

namespace corv {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// dir + separator + name.
inline std::string JoinPath(const std::string& dir, const std::string& name) {
    return dir + kPathSeparator + name;
}

// The program directory: the module path cut before its last separator.
inline std::string DirectoryOf(const std::string& modulePath) {
    std::string::size_type cut = modulePath.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : modulePath.substr(0, cut);
}

}  // namespace corv
