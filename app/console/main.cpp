// Console host: the position panel on a simulated drive, printed as text (see ConsoleHost).
#include <iostream>
#include <string>
#include <vector>

#include "app/console/ConsoleHost.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    arn::ConsoleHost host(std::cout, std::cerr);
    return host.Run(args);
}
