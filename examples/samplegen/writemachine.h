#pragma once

#include <QString>

namespace sample {

enum class Variant {
    Sample,  // the machine of examples/sample-machine
    Large,   // twenty prizes and a control file full of varied values, for the benchmark
};

// Writes every file of the machine into `folder` (made when missing): the four data
// files, the symbol, cabinet and digit pictures, the two sounds. The same bytes each
// time. False and *error when a file cannot be written.
bool writeMachine(const QString& folder, Variant variant, QString* error);

}  // namespace sample
