#pragma once

#include "rewrite/kind_set.h"

#include <cstdint>

namespace faultward {

// The kinds of source file a project names that can hold procedures: forms
// (Form=, .frm) and modules (Module=, .bas), which the tool has always
// processed, and classes (Class=, .cls), user controls (UserControl=, .ctl)
// and the modules behind an Office document and its sheets (ThisWorkbook,
// Sheet1: classes whose Attribute VB_Base names the document's type),
// processed on request.
enum class SourceKind : std::uint8_t {
    Form = 1,
    Module = 2,
    Class = 4,
    UserControl = 8,
    Document = 16,
};

using SourceKinds = KindSet<SourceKind>;
inline constexpr SourceKinds kDefaultSourceKinds = {SourceKind::Form, SourceKind::Module};
inline constexpr SourceKinds kAllSourceKinds = {SourceKind::Form, SourceKind::Module,
                                                SourceKind::Class, SourceKind::UserControl,
                                                SourceKind::Document};

// Whether the file is a class of some kind, whose procedures may keep
// Attribute lines after their heads.
constexpr bool isClassLike(SourceKind kind) {
    return kind == SourceKind::Class || kind == SourceKind::UserControl ||
           kind == SourceKind::Document;
}

} // namespace faultward
