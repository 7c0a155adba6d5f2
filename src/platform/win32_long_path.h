#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace faultward::win32 {

// A path in the form the wide Windows functions take at any length, beyond
// the 260 characters of MAX_PATH: absolute, with "." and ".." resolved and
// slashes turned into backslashes, behind the \\?\ prefix (\\?\UNC\ for a
// share). A name that Windows takes for a device (NUL, COM1.bas) keeps its
// \\.\ form, which isDevicePath tells apart.
std::wstring extendedPath(const std::filesystem::path& path);

bool isDevicePath(std::wstring_view extended);

// folder\name, whether or not folder ends with a backslash (a drive's root
// does); extended paths take no doubled separator.
std::wstring joinPath(std::wstring_view folder, std::wstring_view name);

// The folder part and the name part of an extended path.
std::wstring_view folderOf(std::wstring_view path);
std::wstring_view nameOf(std::wstring_view path);

} // namespace faultward::win32
