// SPDX-License-Identifier: MIT

#include "windows/startup.h"

int main(int argc, char** argv)
{
    return moravelt::runGame(argc, argv);
}
