#include "editormain.h"
#include "form1.h"

int main(int argc, char** argv) {
    return runEditor<Form1>(argc, argv, ProgramName, "FILE.orf",
                            "Opens the machine file FILE.orf as the Load button would.");
}
