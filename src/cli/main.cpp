// marevox-cli: the core of the program, headless, for scripts and tests.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: marevox-cli COMMAND [ARGS]\n");
        return 2;
    }
    std::fprintf(stderr, "marevox-cli: unknown command %s\n", argv[1]);
    return 2;
}
