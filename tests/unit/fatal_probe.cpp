// Binds one made-up row named on the command line; a row that cannot be bound never returns.
#include <windows.h>

#include "dialup/binding_table.h"

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    HMODULE module = nullptr;
    binding::BindRow({argv[1], argv[2]}, module);
    return 0;
}
