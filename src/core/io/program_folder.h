// The program folder: where the settings file, the backup copy and the
// standard tree images live. On this platform it is a per-user folder:
// $POMELI2_HOME, else $XDG_DATA_HOME/pomeli2/, else ~/.local/share/pomeli2/.
#pragma once

#include <string>

#include "text/catalogue.h"

namespace pomeli2 {

// The folder as a system path with its trailing "/".
std::string ProgramFolder();

// Where the installed standard images are: beside the executable's
// share/pomeli2/images, or the source tree's res/images for a build that
// was not installed. Empty when neither holds them.
std::string InstalledImagesFolder();

// Creates the program folder when needed and copies in each standard image
// that is missing. False when the folder cannot be made.
bool PrepareProgramFolder(const std::string& program_folder, const std::string& images_folder);

}  // namespace pomeli2
