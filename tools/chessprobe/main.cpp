#include <cstdio>

#include "tools/chessprobe/searchcmd.h"

int main(int argc, char** argv) {
    const int status = runSearchCommand(argc, argv);
    if (status >= 0) return status;
    std::fprintf(stderr, "usage: chessprobe perft|divide|moves \"<FEN>\" [depth]\n");
    return 2;
}
