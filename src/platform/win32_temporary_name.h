#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <windows.h>

namespace faultward::win32 {

// ".<name>.faultward-<process id>.tmp", the temporary beside a file that is
// being replaced. The name is shortened so that the whole stays within the
// 255 UTF-16 units one name may have, never between the halves of a
// surrogate pair.
std::wstring temporaryName(std::wstring_view name, DWORD processId);

// The process that made a temporary of that form; nothing for any other name.
std::optional<DWORD> temporaryOwner(std::wstring_view name);

// ".<name>.faultward-<process id>.old", the copy of a file's old bytes while
// the file is written in place. Nothing when the whole name does not fit: the
// file's name must be read back from the copy's.
std::optional<std::wstring> oldBytesCopyName(std::wstring_view name, DWORD processId);

struct OldBytesCopy {
    DWORD owner;
    std::wstring file; // the name of the file whose old bytes it holds
};
std::optional<OldBytesCopy> oldBytesCopyOf(std::wstring_view name);

} // namespace faultward::win32
