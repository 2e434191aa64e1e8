#include "foundation/win32/Utf16.h"

#include "foundation/ConstantesWin32.h"

#include <climits>

namespace emporteur {

std::wstring VersUtf16(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX)
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                      nullptr, 0);
    std::wstring large(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), large.data(), n);
    return large;
}

std::string DepuisUtf16(std::wstring_view utf16) {
    if (utf16.empty() || utf16.size() > INT_MAX)
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string etroit(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), etroit.data(),
                        n, nullptr, nullptr);
    return etroit;
}

} // namespace emporteur
