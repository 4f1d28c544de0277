#include "editormain.h"
#include "form1.h"

int main(int argc, char** argv) {
    return runEditor<reelboard::Form1>(
        argc, argv, reelboard::ProgramName, "FILE.sdf",
        "Opens the reel data file FILE.sdf as the Load button would.");
}
