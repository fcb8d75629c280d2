/* A stand-in for the installed player: writes how it was started (its
   arguments and working directory) to the file named by PLAYER_RECORD. */
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

int main(int argc, char **argv) {
    const char *record = getenv("PLAYER_RECORD");
    FILE *out = record ? fopen(record, "w") : NULL;
    char directory[4096];
    if (!out || !getcwd(directory, sizeof directory))
        return 1;
    fprintf(out, "arguments: %d\n", argc);
    for (int i = 0; i < argc; i++)
        fprintf(out, "argument %d: %s\n", i, argv[i]);
    fprintf(out, "working directory: %s\n", directory);
    return fclose(out) == 0 ? 0 : 1;
}
