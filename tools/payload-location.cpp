// zorvane-payload-location INSTALLER: prints the offset and the length of
// the payload that the trailer of INSTALLER gives, as the installer reads
// it; status 1, with nothing printed, when the trailer is damaged or missing.
#include <cstdio>
#include <cstdlib>

#include "payload.h"

// Prints "OFFSET LENGTH" for the installer named on the command line.
int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s INSTALLER\n", argv[0]);
        return 2;
    }
    FILE *installer = fopen(argv[1], "rb");
    long long length;
    if (installer == nullptr || !FindPayload(installer, &length))
        return EXIT_FAILURE;
    printf("%lld %lld\n", static_cast<long long>(ftello(installer)), length);
    return fclose(installer) == 0 && fflush(stdout) == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
