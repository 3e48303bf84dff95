// A program that ends right after its start: the application object made, no text measured, no window
// shown. Run by ProgramEndTest.
#include "platform/vcl/Forms.h"

int main() {
    Application->Initialize();
    return 0;
}
