#pragma once

#include "rewrite/kind_set.h"

#include <cstdint>

namespace faultward {

// The kinds of source file a project names that can hold procedures: forms
// (Form=, .frm) and modules (Module=, .bas), which the tool has always
// processed, and classes (Class=, .cls) and user controls (UserControl=,
// .ctl), processed on request.
enum class SourceKind : std::uint8_t { Form = 1, Module = 2, Class = 4, UserControl = 8 };

using SourceKinds = KindSet<SourceKind>;
inline constexpr SourceKinds kDefaultSourceKinds = {SourceKind::Form, SourceKind::Module};
inline constexpr SourceKinds kAllSourceKinds = {SourceKind::Form, SourceKind::Module,
                                                SourceKind::Class, SourceKind::UserControl};

} // namespace faultward
