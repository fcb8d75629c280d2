// The program-wide state of the installer.
#include "installer.h"

int bIsSilent = 0;
char *pLocation = nullptr;
char **ppArgv = nullptr;
float fPercentDone = 0;
