#include "editormain.h"
#include "form1.h"
#include "sdlsound.h"

namespace {

// The window with its sound output over SDL2_mixer, made before the window and released after
// it has shut the output down.
struct SdlSoundOutput {
    SdlSoundDevice device;
    SdlMusicCommands music;
};

class SpecWindow : private SdlSoundOutput, public specboard::Form1 {
public:
    explicit SpecWindow(Dialogs& dialogs) : Form1(dialogs, device, music) {}
};

}  // namespace

int main(int argc, char** argv) {
    return runEditor<SpecWindow>(argc, argv, specboard::ProgramName, "FILE.orf",
                                 "Opens the machine file FILE.orf as the Load button would.");
}
