// Zorvane 8 installer: one file that carries this program, the product as a
// gzip'd tar payload, and a trailer line with the payload's length.
// `installer -s DIR` installs silently and the other options of the
// installer's own (options.cpp) need no display either; anything else opens
// the wizard (wizard/window.cpp).  Start reading at Install (install.cpp),
// which checks the destination and hands it to Extract (extract.cpp).
#include <cstdio>
#include <cstdlib>

#include "environment.h"
#include "installer.h"
#include "messages.h"
#include "wizard.h"

// Names the way to install without a display when the toolkit ended the
// program because it could open none: after its own line, before the end.
static void SuggestSilentInstall(void) {
    if (pAppShell == nullptr)
        fprintf(stderr, MSG_NO_DISPLAY "\n", ppArgv[0]);
}

// Chooses between the installer's own options and the wizard.
int main(int argc, char **argv) {
    ppArgv = argv;
    SettleEnvironment();
    RunChosenOption(argc, argv);
    atexit(SuggestSilentInstall);
    BuildWizard(&argc, argv);
    return EXIT_SUCCESS;
}
