// Binds one made-up row named on the command line, which may be absent when a third argument
// says so; a row that cannot be bound never returns, unless it may be absent: exit code 3.
#include <windows.h>

#include "dialup/binding_table.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4)
        return 2;
    HMODULE module = nullptr;
    return binding::BindRow({argv[1], argv[2], argc == 4}, module) ? 0 : 3;
}
