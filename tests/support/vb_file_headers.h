#pragma once

#include "support/split_mix.h"
#include "support/vb_text.h"

#include <string>
#include <string_view>
#include <vector>

namespace faultward::testing {

// The designer part of a form, before its code: VERSION, the form's
// Begin ... End block with nested controls, and its Attribute lines. Returns
// the event procedures the controls raise, as "cmdSave_Click()", for the code
// to handle.
std::vector<std::string> writeFormHeader(VbText& text, std::string_view formName,
                                         std::string_view caption, SplitMix64& random);

// The Attribute line a standard module starts with.
void writeModuleHeader(VbText& text, std::string_view moduleName);

// The BEGIN ... END block and Attribute lines of a class module.
void writeClassHeader(VbText& text, std::string_view className);

} // namespace faultward::testing
