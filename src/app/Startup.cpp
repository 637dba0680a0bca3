#include "app/Startup.h"

#include "app/GlobalVariant.h"
#include "app/HexScramble.h"
#include "app/PixoloApplication.h"
#include "app/ProductTexts.h"
#include "app/TfrmAbout.h"
#include "app/TfrmMain.h"
#include "platform/InstanceLock.h"
#include "platform/MessageBox.h"
#include "skinframe/TbsSkinForm.h"
#include "skinframe/WindowSystem.h"

#include <memory>

namespace pixolo {

int runPixolo(int &argc, char **argv)
{
    chooseWindowSystem(); // the skinned frames need X11: on a Wayland desktop through XWayland
    PixoloApplication app(argc, argv);

    rcGlobalVariant.sAppPath = appPathOf(QCoreApplication::applicationFilePath());
    rcGlobalVariant.sIniFile = rcGlobalVariant.sAppPath + QStringLiteral("Pixolo.ini");
    rcGlobalVariant.sAppTitle = ProductTexts::decode(ProductTexts::kTitle);

    // Held until the process ends. Only a lock held by another copy counts as "already running"; a guard that
    // cannot be made at all does not keep the program from starting.
    const InstanceLock guard(QStringLiteral("Pixolo"));
    if (guard.result() == InstanceLock::AlreadyRunning) {
        MessageBox::show(rcGlobalVariant.sAppTitle + QStringLiteral("系统已经运行!"), rcGlobalVariant.sAppTitle,
                         MessageBox::Information);
        return 0;
    }

    // Both windows belong to the program and go with it; the About window is made hidden. The About button may
    // make a new About window, so the program deletes whatever window the reference names at the end.
    try {
        frmMain = new TfrmMain();
        TbsSkinForm::SetApplicationMainForm(frmMain); // minimising it minimises the program
        frmAbout = new TfrmAbout();
    } catch (const std::exception &error) {
        // A window that cannot be built ends start-up with its message.
        PixoloApplication::showException(error);
        std::unique_ptr<TfrmMain>(frmMain.data()).reset();
        return 1;
    }
    frmMain->show();
    const int code = QApplication::exec();
    std::unique_ptr<TfrmAbout>(frmAbout.data()).reset();
    std::unique_ptr<TfrmMain>(frmMain.data()).reset();
    return code;
}

} // namespace pixolo
