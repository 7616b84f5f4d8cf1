// The program's resource module: the templates and the two images, read once.
#include "resources/ProgramResources.h"

#include <cstdio>
#include <cstdlib>

#include "resources/Templates.h"

namespace {

#include "resources/Bitmap131.xpm"
#include "resources/Icon132.xpm"

// The images are part of the program; one that does not read is a fault of the build.
void Check(Status status, const char* what, const std::string& error) {
  if (status) return;
  std::fprintf(stderr, "uninst: the built-in %s is damaged: %s\n", what, error.c_str());
  std::abort();
}

CResourceModule BuildModule() {
  CResourceModule module;
  module.AddDialog(AboutTemplate());
  module.AddDialog(UninstallTemplate());
  module.AddDialog(ProgressTemplate());
  module.AddDialog(RestartTemplate());
  std::string error;
  Check(module.AddBitmap(IDB_PICTURE, kBitmap131Xpm, &error), "bitmap 131", error);
  Check(module.AddIcon(IDI_UNINST, kIcon132Xpm, &error), "icon 132", error);
  return module;
}

}  // namespace

HINSTANCE ProgramResources() {
  static const CResourceModule module = BuildModule();
  return &module;
}
