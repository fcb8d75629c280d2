// The destination directories offered in the combo box of page 2: the
// user's home, /usr/local (first when the user may write there) and /opt.
#include <Xm/Xm.h>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "ComboBox.h"
#include "build.h"
#include "wizard.h"

static const char PRODUCT_SUFFIX[] = "/Zorvane8";
static const char SHARED_PARENT[] = "/usr/local";
static const char SHARED_CANDIDATE[] = "/usr/local/Zorvane8";
static const char OPT_CANDIDATE[] = "/opt/Zorvane8";

// The user's home as the file system names it, and as the text field shows it.
static std::string sHome, sShownHome;

// Adds one directory to the list, unless it is there already.
static void AddCandidate(Widget comboBox, const char *directory, int position) {
    XmString item = XmStringCreateLtoR(const_cast<char *>(directory), XmSTRING_DEFAULT_CHARSET);
    ZVKDtComboBoxAddItem(comboBox, item, position, True);
    XmStringFree(item);
}

// Offers the candidates in order; the text field shows the first of them.
// Without HOME there is no home candidate and the other two keep their order.
void AddDestinationCandidates(Widget comboBox) {
    const char *home = getenv("HOME");
    if (home != nullptr) {
        sHome = home;
        sShownHome = ShownInLocale(sHome);
    }
    const std::string homeCandidate = home ? sShownHome + PRODUCT_SUFFIX : std::string();
    const bool sharedWritable = access(SHARED_PARENT, W_OK) == 0;
    int position = 1;
    if (sharedWritable)
        AddCandidate(comboBox, SHARED_CANDIDATE, position++);
    if (home != nullptr)
        AddCandidate(comboBox, homeCandidate.c_str(), position++);
    if (!sharedWritable)
        AddCandidate(comboBox, SHARED_CANDIDATE, position++);
    AddCandidate(comboBox, OPT_CANDIDATE, position);
}

// The path that a destination text names: a text that starts with the home
// as shown names the home by its own bytes, also those that the locale
// could not show; any other text names itself.
std::string DestinationPath(const std::string &text) {
    const size_t length = sShownHome.size();
    const bool inHome = length > 0 && text.compare(0, length, sShownHome) == 0 &&
                        (text.size() == length || text[length] == '/');
    return inHome ? sHome + text.substr(length) : text;
}
