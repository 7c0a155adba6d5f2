// What the user agreed to about files outside a project's folder, and the
// keys it is kept under.
#include "app/commands/consent_records.h"
#include "app/commands/outside_files.h"
#include "app/commands/sha256.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace faultward {
namespace {

std::string sha256(std::string_view text, std::size_t piece) {
    Sha256 hash;
    for (std::size_t at = 0; at < text.size(); at += piece)
        hash.add(text.substr(at, piece));
    return hash.hex();
}

// The published test vectors of FIPS 180-2, fed whole and in odd pieces.
TEST(Sha256, givesThePublishedDigests) {
    const std::string million(1000000, 'a');
    const std::pair<std::string, std::string> vectors[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {million, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [text, digest] : vectors)
        for (const std::size_t piece : {std::size_t{1}, std::size_t{63}, std::size_t{1000000}})
            EXPECT_EQ(sha256(text, piece), digest) << text.size() << " in pieces of " << piece;
}

TEST(ConsentRecords, keepsEveryAnswerInTheStateFolderAndNothingWithoutOne) {
    TempFolder folder;
    const std::vector<std::string> first = {"k1", "k2"};
    ConsentRecords records(folder / "state");
    EXPECT_FALSE(records.given(first));
    EXPECT_FALSE(records.remember(first));
    EXPECT_TRUE(ConsentRecords(folder / "state").given(first));
    EXPECT_TRUE(records.given(std::vector<std::string>{"k2"}));
    EXPECT_FALSE(records.given(std::vector<std::string>{"k1", "k3"}));

    ConsentRecords nowhere(std::nullopt);
    EXPECT_TRUE(nowhere.remember(first));
    EXPECT_FALSE(nowhere.given(first));
}

TEST(OutsideFiles, keysChangeWithAnyByteOfTheProjectAndWithWhereTheFileIs) {
    TempFolder folder;
    const fs::path vbp = folder.write("app/App.vbp", crlf({"Module=S; ..\\Shared\\S.bas"}));
    folder.write("Shared/S.bas", kOneSubSource);
    const ProjectFolder projectFolder(vbp);
    const std::vector<ListEntry> entries = {{"..\\Shared\\S.bas"}, {"Gone.bas"}};
    const std::vector<OutsideFile> outside =
        outsideEntries(projectFolder, entries, vbp.parent_path());
    ASSERT_EQ(outside.size(), 1u);
    EXPECT_EQ(outsideFileText(outside[0], false),
              "..\\Shared\\S.bas, at " + (folder / "Shared" / "S.bas").string());

    const std::vector<fs::path> deciding = decidingFiles(vbp);
    const std::vector<std::string> keys = consentKeys(deciding, outside);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(consentKeys(deciding, outside), keys);
    folder.write("app/App.vbp", crlf({"Module=S; ..\\Shared\\S.bas", ""}));
    EXPECT_NE(consentKeys(deciding, outside), keys);
    folder.write("app/App.vbp", crlf({"Module=S; ..\\Shared\\S.bas"}));
    OutsideFile elsewhere = outside[0];
    elsewhere.real = folder / "other/S.bas";
    EXPECT_NE(consentKeys(deciding, std::vector<OutsideFile>{elsewhere}), keys);
}

// Each project of a group decides what the group's commands write.
TEST(OutsideFiles, aGroupIsDecidedByItsProjectsToo) {
    TempFolder folder;
    const fs::path vbg =
        folder.write("G.vbg", crlf({"VBGROUP 5.0", "StartupProject=A\\A.vbp", "Project=B.vbp"}));
    folder.write("A/A.vbp", "");
    folder.write("B.vbp", "");
    EXPECT_EQ(decidingFiles(vbg),
              (std::vector<fs::path>{vbg, folder / "A/A.vbp", folder / "B.vbp"}));
}

} // namespace
} // namespace faultward
