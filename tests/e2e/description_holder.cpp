// A program that is not Pordex but carries its FileDescription, for the single-instance guard.
// It waits until it is ended.
#include <windows.h>

int main() {
    Sleep(INFINITE);
}
