#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "office/compound_file.h"
#include "office/vba_project_stream.h"

namespace faultward::office::testing {

// The tests' own writer of VBA projects, for what LibreOffice does not write:
// classes and forms, compiled state (a performance cache before each module's
// source, _VBA_PROJECT of a version, __SRP_ streams), protection, signatures,
// and Word documents.

struct BuiltModule {
    std::string name;
    ModuleKind kind = ModuleKind::Procedural;
    // The source without its Attribute VB_Name line, which is added.
    std::string body;
    // Bytes of compiled state before the source (its offset in the dir stream).
    std::size_t cacheBytes = 0;

    // The source as the module's stream holds it.
    std::string source() const;
};

struct BuiltProject {
    std::string name = "VBAProject";
    std::vector<BuiltModule> modules;
    bool lockedForViewing = false;
    bool withPassword = false;
    bool compiledState = true;
    bool signatureStream = false;
};

BuiltProject sampleProject();

// The project's storage: PROJECT, PROJECTwm and VBA.
CompoundEntry projectStorage(const BuiltProject& project, std::u16string name);

// vbaProject.bin.
std::string vbaProjectBin(const BuiltProject& project);

// A Word document package (.docm) with the project; with signaturePart, a
// signature part with its relationship and content type too.
std::string wordPackage(const BuiltProject& project, bool signaturePart = false);

// A binary Word document with the project in its Macros storage.
std::string wordBinary(std::string_view plainDocument, const BuiltProject& project);

// A fixture of tests/office/fixtures.
std::string fixture(std::string_view name);

} // namespace faultward::office::testing
