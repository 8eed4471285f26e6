// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery copy kept when the program is ended from outside, and the
// offer of the next start.

#include "storage/project/RecoveryCopy.h"

#include "ProjectTestSupport.h"
#include "base/Errors.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace dvx {
namespace {

namespace fs = std::filesystem;

class RecoveryCopy : public test::ProjectFileFixture {
protected:
    test::TempFolder temp;
    fs::path folder = temp / "state/Quellstrand/darvenix";

    TCircuit twoPipes{project};

    void SetUp() override {
        ProjectFileFixture::SetUp();
        twoPipes.Heading1 = "Plant room";
        for (double flow : {0.002, 0.004}) {
            auto pipe = std::make_unique<TPipe>(project);
            pipe->SetBore(project, 12);
            pipe->Flow = flow;
            pipe->Length = 7.5;
            twoPipes.Append(std::move(pipe));
        }
    }
    const TCircuit& TwoPipes() const { return twoPipes; }
};

TEST_F(RecoveryCopy, NothingKeptIsNothingOffered) {
    EXPECT_FALSE(PendingRecovery(folder).has_value());
    fs::create_directories(folder);
    EXPECT_FALSE(PendingRecovery(folder).has_value());
}

TEST_F(RecoveryCopy, KeptProjectIsOfferedAndReadsBackUnsaved) {
    KeepRecoveryCopy(folder, TwoPipes(), *project.Liquid, project.Tables, "/home/ann/jobs/chilled-water.dvx");

    const std::optional<TRecoveryOffer> offer = PendingRecovery(folder);
    ASSERT_TRUE(offer.has_value());
    EXPECT_EQ(offer->OriginalFile, "/home/ann/jobs/chilled-water.dvx");
    EXPECT_NE(offer->Question.find("chilled-water.dvx"), std::string::npos) << offer->Question;
    EXPECT_EQ(offer->Question.find("/home/ann"), std::string::npos) << "the question names the file, not its folder";

    const TProjectData data = ReadRecoveryCopy(*offer, project);
    EXPECT_FALSE(data.Circuit->Saved) << "a recovered project still has to be saved";
    EXPECT_EQ(data.Circuit->Heading1, "Plant room");
    ASSERT_EQ(data.Circuit->Count(), 2);
    EXPECT_DOUBLE_EQ(data.Circuit->Item(1).Flow, 0.004);

    // The folder holds the user's project: only the user may enter it.
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(RecoveryCopy, ProjectWithoutFileIsOfferedAsNew) {
    KeepRecoveryCopy(folder, TwoPipes(), *project.Liquid, project.Tables, "");
    const std::optional<TRecoveryOffer> offer = PendingRecovery(folder);
    ASSERT_TRUE(offer.has_value());
    EXPECT_EQ(offer->OriginalFile, "");
    EXPECT_NE(offer->Question.find("a new project"), std::string::npos) << offer->Question;
}

TEST_F(RecoveryCopy, LaterCopyReplacesTheEarlierOne) {
    KeepRecoveryCopy(folder, TwoPipes(), *project.Liquid, project.Tables, "/a/first.dvx");
    TCircuit second(project);
    second.Append(std::make_unique<TPipe>(project));
    KeepRecoveryCopy(folder, second, *project.Liquid, project.Tables, "");
    const std::optional<TRecoveryOffer> offer = PendingRecovery(folder);
    ASSERT_TRUE(offer.has_value());
    EXPECT_EQ(offer->OriginalFile, "") << "the earlier project's name must not stick to the later copy";
    EXPECT_EQ(ReadRecoveryCopy(*offer, project).Circuit->Count(), 1);
}

TEST_F(RecoveryCopy, DiscardedCopyIsNotOfferedAgain) {
    KeepRecoveryCopy(folder, TwoPipes(), *project.Liquid, project.Tables, "/a/b.dvx");
    DiscardRecoveryCopy(folder);
    EXPECT_FALSE(PendingRecovery(folder).has_value());
    EXPECT_TRUE(fs::is_empty(folder));
    DiscardRecoveryCopy(folder); // nothing left: no error
}

// The name file is a hint; the copy is what counts.
TEST_F(RecoveryCopy, DamagedOrMissingNameLeavesTheCopyOfferedAsNew) {
    const std::optional<std::string> names[] = {std::nullopt, "/a/b.dvx\n/etc/passwd", std::string("/a/\0b.dvx", 9)};
    for (const std::optional<std::string>& name : names) {
        SCOPED_TRACE(name.value_or("(no name file)"));
        KeepRecoveryCopy(folder, TwoPipes(), *project.Liquid, project.Tables, "/a/b.dvx");
        if (!name)
            fs::remove(folder / "recovery-of.txt");
        else
            std::ofstream(folder / "recovery-of.txt", std::ios::binary) << *name;
        const std::optional<TRecoveryOffer> offer = PendingRecovery(folder);
        ASSERT_TRUE(offer.has_value());
        EXPECT_EQ(offer->OriginalFile, "");
    }
}

// A copy that cannot be read is an error, and the copy stays for the user to
// rescue; it is never dropped silently.
TEST_F(RecoveryCopy, UnreadableCopyRaisesAndStays) {
    fs::create_directories(folder);
    std::ofstream(folder / "recovery.dvx", std::ios::binary) << "not a project";
    const std::optional<TRecoveryOffer> offer = PendingRecovery(folder);
    ASSERT_TRUE(offer.has_value());
    EXPECT_THROW(ReadRecoveryCopy(*offer, project), FileError);
    EXPECT_TRUE(fs::exists(folder / "recovery.dvx"));
}

TEST_F(RecoveryCopy, FolderThatCannotBeMadeIsAnError) {
    std::ofstream(temp / "state") << "a file where the folder should be";
    EXPECT_THROW(KeepRecoveryCopy(folder, TwoPipes(), *project.Liquid, project.Tables, ""), FileError);
}

TEST(RecoveryFolder, FollowsTheStateFolder) {
    const char* before = std::getenv("XDG_STATE_HOME");
    const std::string saved = before != nullptr ? before : "";
    ::setenv("XDG_STATE_HOME", "/tmp/state-here", 1);
    EXPECT_EQ(RecoveryFolder(), fs::path("/tmp/state-here/Quellstrand/darvenix"));
    if (before != nullptr)
        ::setenv("XDG_STATE_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_STATE_HOME");
}

} // namespace
} // namespace dvx
