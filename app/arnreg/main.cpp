#include <iostream>
#include <string>
#include <vector>

#include "app/arnreg/RegTool.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    arn::RegTool tool(std::cout, std::cerr);
    return tool.Run(args);
}
