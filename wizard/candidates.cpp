// The destination directories offered in the combo box of page 2: the
// user's home, /usr/local (first when the user may write there) and /opt.
#include <Xm/Xm.h>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "ComboBox.h"
#include "build.h"

static const char PRODUCT_SUFFIX[] = "/Zorvane8";
static const char SHARED_PARENT[] = "/usr/local";
static const char SHARED_CANDIDATE[] = "/usr/local/Zorvane8";
static const char OPT_CANDIDATE[] = "/opt/Zorvane8";

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
    const std::string homeCandidate = home ? std::string(home) + PRODUCT_SUFFIX : std::string();
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
