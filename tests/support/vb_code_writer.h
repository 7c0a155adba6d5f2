#pragma once

#include "support/split_mix.h"
#include "support/vb_text.h"

#include <string>
#include <vector>

namespace faultward::testing {

// Standard modules take no Friend procedures and only they may declare
// Public API calls; forms and classes are class modules.
enum class ModuleKind { Form, Standard, Class };

struct CodeOptions {
    ModuleKind kind = ModuleKind::Standard;
    // Code is added until the file holds this many lines; the last procedure
    // may go a little past it.
    int targetLines = 0;
    // Event procedures of a form's controls, such as "cmdSave_Click()".
    std::vector<std::string> events;
    // Whether this module holds the project's Sub Main.
    bool holdsMain = false;
};

// Appends the code part of a form or module: Option Explicit, declarations,
// then procedures of every kind the tool must tell apart. Given room, every
// file gets at least one of each.
void writeCode(VbText& text, const CodeOptions& options, SplitMix64& random);

} // namespace faultward::testing
