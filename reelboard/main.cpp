#include "editormain.h"
#include "form1.h"

int main(int argc, char** argv) {
    return runEditor<Form1>(argc, argv, ProgramName, "FILE.sdf",
                            "Opens the reel data file FILE.sdf as the Load button would.");
}
