// A build without the picture program (Windows, a build without Qt): the commands that paint
// pixels are refused where they are reached.
#include "Commands.h"
#include "PictureProgram.h"

namespace murvex::cli {

void KeepArguments(int, char**) {}

bool HasPictureProgram() {
    return false;
}

int RunPictureProgram() {
    Complain("murvex-cli: PNG pictures are not in this build");
    return kExitInvalid;
}

}  // namespace murvex::cli
