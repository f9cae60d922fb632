#include <iostream>
#include <string>
#include <vector>

#include "app/arnreg/RegTool.h"
#include "platform/StandardStreams.h"

int main(int argc, char** argv) {
    arn::UseBinaryStandardStreams();
    std::vector<std::string> args(argv + 1, argv + argc);
    arn::RegTool tool(std::cout, std::cerr);
    return tool.Run(args);
}
