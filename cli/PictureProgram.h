// The commands that paint pixels (render to PNG, picture) need Qt's painter and the picture
// readers, which the plain commands should not load at every start. Where the build has Qt they
// live in a second program, murvex-cli-pictures: the same command line linked with those parts.
// murvex-cli starts it in its own place, with its own arguments, when a command needs it.
#pragma once

namespace murvex::cli {

// Keeps the arguments murvex-cli was started with, for the picture program.
void KeepArguments(int argc, char** argv);

// Whether the picture program is there: beside this program (a build folder) or in
// ../libexec/murvex (an installed tree).
bool HasPictureProgram();

// Runs the picture program with the kept arguments in this process's place. Returns only when it
// cannot be started, with the exit status, after saying why on standard error.
int RunPictureProgram();

}  // namespace murvex::cli
