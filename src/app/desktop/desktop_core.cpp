#include "app/desktop/desktop_core.h"

namespace faultward {

DesktopCore::DesktopCore(Module1& module, MainWindowView& main, ProjectFilesView& files,
                         SoundPlayer& sound, HelpOpener& help, ConsentRecords& consent)
    : projectFiles_(main, files, module),
      logic_(module, main, projectFiles_, sound, help, consent) {
    logic_.MDIForm_Load();
}

} // namespace faultward
