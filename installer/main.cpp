// Zorvane 8 installer: one file that carries this program, the product as a
// gzip'd tar payload, and a trailer line with the payload's length.
// `installer -s DIR` installs silently; anything else opens the wizard
// (wizard/window.cpp).  Start reading at Install (install.cpp), which checks
// the destination and hands it to Extract (extract.cpp).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "installer.h"
#include "wizard.h"

// Chooses between a silent install and the wizard.
int main(int argc, char **argv) {
    ppArgv = argv;
    if (argc == 3 && strcmp(argv[1], "-s") == 0) {
        bIsSilent = 1;
        pLocation = argv[2];
        Install(nullptr, nullptr, nullptr);
        exit(FailureReported() ? EXIT_FAILURE : EXIT_SUCCESS);
    }
    BuildWizard(&argc, argv);
    return EXIT_SUCCESS;
}
