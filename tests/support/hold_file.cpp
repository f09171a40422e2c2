// Holds a file open without sharing, as a running program holds its own files,
// until its standard input closes. usage: hold_file PATH
#include <windows.h>
#include <stdio.h>

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: hold_file PATH\n");
        return 2;
    }
    HANDLE held = CreateFileA(argv[1], GENERIC_READ, 0, 0, OPEN_EXISTING, 0, 0);
    if (held == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "hold_file: cannot open %s\n", argv[1]);
        return 1;
    }
    printf("held\n");
    fflush(stdout);
    char line[16];
    while (fgets(line, sizeof(line), stdin))
        ;
    CloseHandle(held);
    return 0;
}
