#include "editormain.h"
#include "form1.h"

int main(int argc, char** argv) {
    return runEditor<posboard::Form1>(
        argc, argv, posboard::ProgramName, "FILE.ppf",
        "Opens the picture position file FILE.ppf as the Load button would.");
}
