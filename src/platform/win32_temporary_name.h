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

} // namespace faultward::win32
