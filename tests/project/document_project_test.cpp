// An Office document's VBA project as a project: its modules as entries, held
// in memory, and the document written once, safely.
#include "office/vba_fixtures.h"
#include "project/document_project.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

using office::ModuleKind;
namespace fixtures = office::testing;

fixtures::BuiltProject projectWithAForm() {
    fixtures::BuiltProject project = fixtures::sampleProject();
    project.name = "Billing";
    project.modules.push_back({"UserForm1", ModuleKind::Designer, kOneSubSource, 0});
    return project;
}

std::string sourceOf(const fs::path& document, const std::string& entry) {
    DocumentProject::Opened opened = DocumentProject::open(document);
    EXPECT_TRUE(opened.project) << opened.refusal;
    std::string source;
    FileIdentity identity;
    EXPECT_EQ(opened.project->sources().read(entry, source, identity), ReadStatus::Ok) << entry;
    return source;
}

TEST(DocumentProject, itsModulesAreEntriesByKind_theirSourcesHeldAsTheDocumentHasThem) {
    const TempFolder folder;
    const fs::path docm = folder.write("Report.docm", fixtures::wordPackage(projectWithAForm()));
    DocumentProject::Opened opened = DocumentProject::open(docm);
    ASSERT_TRUE(opened.project) << opened.refusal;
    DocumentProject& project = *opened.project;
    EXPECT_EQ(project.projectName(), "Billing");
    std::vector<std::string> seen;
    for (const ProjectEntry& entry : project.entries(kAllSourceKinds))
        seen.push_back(entry.text + "=" + std::to_string(static_cast<int>(entry.kind)));
    EXPECT_EQ(seen, (std::vector<std::string>{"ThisDocument.cls=16", "Module1.bas=2",
                                              "Module2.bas=2", "Class1.cls=4", "UserForm1.frm=1"}));
    EXPECT_EQ(project.entries(kDefaultSourceKinds).size(), 3u);
    EXPECT_EQ(project.sources().pathOf("Module2.bas"), docm / "Module2.bas");
    EXPECT_EQ(sourceOf(docm, "UserForm1.frm"),
              "Attribute VB_Name = \"UserForm1\"\r\n" + kOneSubSource);
}

TEST(DocumentProject, whatCannotBeAProjectIsRefusedInTheOfficeLayersWords) {
    const TempFolder folder;
    fixtures::BuiltProject locked = fixtures::sampleProject();
    locked.lockedForViewing = true;
    const fs::path lockedDocm = folder.write("Locked.docm", fixtures::wordPackage(locked));
    const fs::path access =
        folder.write("Data.accdb", std::string("\0\1\0\0Standard ACE DB\0", 20));
    EXPECT_EQ(DocumentProject::open(lockedDocm).refusal, "the VBA project is locked for viewing");
    EXPECT_EQ(DocumentProject::open(access).refusal, "an Access database is not handled");
    const DocumentProject::Opened missing = DocumentProject::open(folder / "Gone.xlsm");
    EXPECT_FALSE(missing.project);
    EXPECT_EQ(missing.status, ReadStatus::NotFound);
}

TEST(DocumentProject, savingWritesTheChangedModulesOnceAndOnlyWhenOneChanged) {
    const TempFolder folder;
    const std::string original = fixtures::wordPackage(projectWithAForm());
    const fs::path docm = folder.write("Report.docm", original);
    {
        DocumentProject::Opened opened = DocumentProject::open(docm);
        const std::string same = sourceOf(docm, "Module2.bas");
        const std::string_view pieces[] = {same};
        opened.project->sources().write("Module2.bas", pieces);
        const DocumentSave unchanged = opened.project->save(false);
        EXPECT_FALSE(unchanged.written);
        EXPECT_FALSE(unchanged.failed());
        EXPECT_EQ(readFile(docm), original);
    }
    DocumentProject::Opened opened = DocumentProject::open(docm);
    const std::string changed = sourceOf(docm, "Module2.bas") + "Sub Added()\r\nEnd Sub\r\n";
    const std::string_view pieces[] = {changed};
    opened.project->sources().write("Module2.bas", pieces);
    const DocumentSave saved = opened.project->save(false);
    EXPECT_TRUE(saved.written);
    EXPECT_EQ(saved.changedModules, 1u);
    EXPECT_EQ(sourceOf(docm, "Module2.bas"), changed);
    EXPECT_EQ(sourceOf(docm, "UserForm1.frm"),
              "Attribute VB_Name = \"UserForm1\"\r\n" + kOneSubSource);
}

TEST(DocumentProject, aSignedProjectIsWrittenOnlyWithoutItsSignatureWhenAsked) {
    const TempFolder folder;
    const std::string original = fixtures::wordPackage(fixtures::sampleProject(), true);
    const fs::path docm = folder.write("Signed.docm", original);
    const auto changeModule2 = [&](DocumentProject& project) {
        const std::string changed = sourceOf(docm, "Module2.bas") + "' changed\r\n";
        const std::string_view pieces[] = {changed};
        project.sources().write("Module2.bas", pieces);
    };
    DocumentProject::Opened opened = DocumentProject::open(docm);
    ASSERT_TRUE(opened.project);
    EXPECT_EQ(opened.project->writeRefusal(false),
              "the VBA project is signed (word/vbaProjectSignature.bin), and a change would "
              "break its signature");
    EXPECT_EQ(opened.project->writeRefusal(true), std::nullopt);
    changeModule2(*opened.project);
    const DocumentSave refused = opened.project->save(false);
    EXPECT_TRUE(refused.failed());
    EXPECT_EQ(refused.refusal, opened.project->writeRefusal(false));
    EXPECT_EQ(readFile(docm), original);

    const DocumentSave dropped = opened.project->save(true);
    EXPECT_TRUE(dropped.written);
    EXPECT_EQ(dropped.droppedSignatures,
              (std::vector<std::string>{"word/vbaProjectSignature.bin"}));
    EXPECT_FALSE(DocumentProject::open(docm).project->document().isSigned());
}

} // namespace
} // namespace faultward
