#include "editormain.h"
#include "form1.h"

int main(int argc, char** argv) {
    return runEditor<stopboard::Form1>(
        argc, argv, stopboard::ProgramName, "FILE.sdf [FILE.rcf] | FILE.rcf",
        "Opens the reel data file FILE.sdf, then the control file FILE.rcf, as the two Load\n"
        "buttons would. A control file given alone is opened with the one .sdf file in its\n"
        "folder.");
}
