// The window in the locale of the environment: in C.UTF-8 a home shows as
// its characters (a byte that is no UTF-8 as its Latin-1 character) in a
// font set, and the destination's text names the home's own bytes; in the
// C locale the bytes and the single font stay as they were.
#include <gtest/gtest.h>

#include <Xm/TextF.h>
#include <Xm/Xm.h>
#include <algorithm>
#include <cstdlib>

#include "harness.h"
#include "wizard.h"

// Starts the wizard with this locale and home.
static void StartIn(const char *locale, const std::string &home) {
    setenv("LANG", locale, 1);
    unsetenv("LC_ALL");
    unsetenv("LC_CTYPE");
    setenv("HOME", home.c_str(), 1);
    StartWizard();
}

// How the labels' font list holds its font: a single font or a font set.
static int LabelFontType() {
    XmFontList fonts = nullptr;
    XtVaGetValues(page1accept, XmNfontList, &fonts, nullptr);
    XmRendition rendition =
        XmRenderTableGetRendition(fonts, const_cast<char *>(XmFONTLIST_DEFAULT_TAG));
    int type = -1;
    Arg arg[1];
    XtSetArg(arg[0], XmNfontType, &type);
    XmRenditionRetrieve(rendition, arg, 1);
    XmRenditionFree(rendition);
    return type;
}

static bool Offered(const std::string &candidate) {
    std::vector<std::string> offered = Candidates();
    return std::find(offered.begin(), offered.end(), candidate) != offered.end();
}

TEST(Locale, Utf8ShowsTheHomeAsCharactersAndNamesItsOwnBytes) {
    // é in Latin-1, then a byte that is a control character there
    const std::string home = "/home/zo\xe9\x85/山田";
    StartIn("C.UTF-8", home);
    const std::string shown = "/home/zoé?/山田/Zorvane8";
    EXPECT_TRUE(Offered(shown));
    EXPECT_EQ(LabelFontType(), XmFONT_IS_FONTSET);
    SetDestinationText(shown);
    // 22 characters in 27 bytes
    EXPECT_EQ(XmTextFieldGetLastPosition(DestinationField()), 22) << "not shown as characters";
    const struct {
        std::string text, path;
    } texts[] = {
        {shown, home + "/Zorvane8"},
        {"/home/zoé?/山田", home},
        {"/home/zoé?/山田/sub/dir", home + "/sub/dir"},
        {"/home/zoé?/山田x", "/home/zoé?/山田x"},
        {"/home/zoé?", "/home/zoé?"},
        {"/opt/Zorvane8", "/opt/Zorvane8"},
    };
    for (const auto &t : texts)
        EXPECT_EQ(DestinationPath(t.text), t.path) << t.text;

    UseInstallerFile(InstallerWhosePlayerCannotStart());
    InstallInto(shown); // only one level is made: the home is missing
    ASSERT_TRUE(WaitFor(DialogShown)) << "no error dialog in time; " << WizardState();
    EXPECT_EQ(DialogText(), "Can not make directory " + shown);
}

TEST(Locale, CKeepsTheBytesAndTheSingleFont) {
    const std::string home = "/home/zo\xe9";
    StartIn("C", home);
    EXPECT_TRUE(Offered(home + "/Zorvane8"));
    EXPECT_EQ(LabelFontType(), XmFONT_IS_FONT);
    EXPECT_EQ(DestinationPath(home + "/x"), home + "/x");
}
