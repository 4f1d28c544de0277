#include "editormain.h"
#include "form1.h"

int main(int argc, char** argv) {
    return runEditor<Form1>(argc, argv, ProgramName, "FILE.ppf",
                            "Opens the picture position file FILE.ppf as the Load button would.");
}
