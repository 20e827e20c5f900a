// The program's dialogs are all plugged into the main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolButton>

#include "app/DialogWiring.h"
#include "app/FormMain.h"
#include "app/ProgramWindows.h"
#include "platform/DataFolder.h"
#include "platform/Prompter.h"

using namespace q2;

TEST(DialogWiring, EveryToolbarButtonAndTheSearchTabAreLive) {
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    ScriptedPrompter prompter;
    ScopedPrompter scope(prompter);
    TProgramWindows windows;
    TFormMain& m = windows.FormMain();
    InstallDialogs(m);
    for (QToolButton* b : {m.pngBtnAddAddress, m.pngBtnOpen, m.pngBtnSave, m.pngBtnAddSender, m.pngBtnPrint,
                           m.pngBtnConfig, m.PngBtnDirectMail, m.pngBtnImport, m.pngBtnExport,
                           m.pngBtnNew, m.PngBtnZipUpdate})
        EXPECT_TRUE(b->defaultAction()->isEnabled()) << b->objectName().toStdString();
    EXPECT_TRUE(m.TCAddressList->isTabEnabled(TFormMain::kTabSearch));
}
