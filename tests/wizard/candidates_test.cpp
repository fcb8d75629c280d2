// The destination directories offered on page 2, for users who may and may
// not write into /usr/local and for the forms HOME can take.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

#include "harness.h"
#include "wizard.h"

using Candidates_ = std::vector<std::string>;

// Starts the wizard with HOME set to /home/someone and checks the list and
// the text field, which shows the first entry.
static void ExpectCandidatesForSomeone(const Candidates_ &expected) {
    setenv("HOME", "/home/someone", 1);
    StartWizard();
    EXPECT_EQ(Candidates(), expected);
    EXPECT_EQ(DestinationText(), expected.front());
}

TEST(Candidates, UsrLocalComesFirstWhenWritable) {
    if (access("/usr/local", W_OK) != 0)
        GTEST_SKIP() << "/usr/local is not writable for this user";
    ExpectCandidatesForSomeone({"/usr/local/Zorvane8", "/home/someone/Zorvane8", "/opt/Zorvane8"});
}

TEST(Candidates, HomeComesFirstForAnUnprivilegedUser) {
    if (getuid() == 0 && !BecomeNobody())
        FAIL() << "could not give up root";
    if (access("/usr/local", W_OK) == 0)
        GTEST_SKIP() << "/usr/local is writable for this user";
    ExpectCandidatesForSomeone({"/home/someone/Zorvane8", "/usr/local/Zorvane8", "/opt/Zorvane8"});
}

TEST(Candidates, HomeEqualToAFixedCandidateIsOfferedOnce) {
    setenv("HOME", "/opt", 1);
    StartWizard();
    Candidates_ offered = Candidates();
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered.back(), "/opt/Zorvane8");
    EXPECT_EQ(offered.front(), "/usr/local/Zorvane8");
}

TEST(Candidates, WithoutHomeTheOtherTwoKeepTheirOrder) {
    unsetenv("HOME");
    StartWizard();
    EXPECT_EQ(Candidates(), (Candidates_{"/usr/local/Zorvane8", "/opt/Zorvane8"}));
    EXPECT_EQ(DestinationText(), "/usr/local/Zorvane8");
}

TEST(Candidates, AHomeLongerThanAnyPathBufferIsOfferedWhole) {
    std::string home = "/" + std::string(5000, 'h');
    setenv("HOME", home.c_str(), 1);
    StartWizard();
    Candidates_ offered = Candidates();
    ASSERT_EQ(offered.size(), 3u);
    EXPECT_NE(std::find(offered.begin(), offered.end(), home + "/Zorvane8"), offered.end());
    InstallInto(""); // Motif still copes when it shows the error dialog
    ASSERT_TRUE(WaitFor(DialogShown)) << "no error dialog in time; " << WizardState();
    EXPECT_EQ(DialogText(), "You must specify a destination directory.");
}
