#include "cli/program.h"

int main(int argc, char** argv) {
    return faultward::runCliProgram(std::vector<std::string>(argv + 1, argv + argc));
}
