#include "host/cli/Commands.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    return Korvatune::runCommandLine(words, std::cout, std::cerr);
}
