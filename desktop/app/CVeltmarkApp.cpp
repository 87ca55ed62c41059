#include "desktop/app/CVeltmarkApp.h"

#include "desktop/app/CVeltmarkDlg.h"
#include "desktop/app/DesktopResources.h"
#include "desktop/platform/QtClipboard.h"
#include "desktop/platform/QtDecimalSeparator.h"
#include "desktop/platform/QtDocumentOpener.h"
#include "desktop/platform/QtFileDialogs.h"
#include "desktop/platform/QtMessageSink.h"
#include "desktop/platform/QtProcessorCount.h"
#include "desktop/platform/QtSeedSource.h"
#include "desktop/platform/QtSettingsStore.h"

#include <QIcon>

#include <memory>

CVeltmarkApp::CVeltmarkApp(int& argc, char** argv) : application(argc, argv)
{
    QCoreApplication::setOrganizationName(ORGANISATION);
    QCoreApplication::setApplicationName(NAME);
    QCoreApplication::setApplicationVersion("1.0.4");
    // Lets the desktop match the running window with the installed tamsel.desktop entry.
    QGuiApplication::setDesktopFileName("tamsel");
    initDesktopResources();
    QApplication::setWindowIcon(QIcon(":/tamsel/tamsel.png"));
}

int CVeltmarkApp::run()
{
    // The services outlive the window, which refers to them until its destructor has saved
    // the preferences. Message boxes and file dialogs are modal to the active window.
    QtMessageSink messages;
    QtFileDialogs fileDialogs;
    QtClipboard clipboard;
    QtSettingsStore settings;
    const QtProcessorCount processors;
    QtSeedSource seeds;
    QtDocumentOpener documents;
    const DesktopServices services{messages,   fileDialogs, clipboard, settings,
                                   processors, seeds,       documents, userDecimalSeparator()};
    auto window = std::make_unique<CVeltmarkDlg>(services);
    window->openCommandLineArguments(QCoreApplication::arguments());
    window->show();
    const int status = QApplication::exec();
    window.reset();
    return status;
}
