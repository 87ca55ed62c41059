#include "app/qt/CVeltmarkApp.h"

#include "app/platform/qt/QtDecimalSeparator.h"
#include "app/platform/qt/QtDocumentOpener.h"
#include "app/platform/qt/QtFileDialogs.h"
#include "app/platform/qt/QtMessageSink.h"
#include "app/platform/qt/QtProcessorCount.h"
#include "app/platform/qt/QtSeedSource.h"
#include "app/platform/qt/QtSettingsStore.h"
#include "app/qt/CVeltmarkDlg.h"
#include "app/qt/DesktopResources.h"

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
    QtSettingsStore settings;
    const QtProcessorCount processors;
    QtSeedSource seeds;
    QtDocumentOpener documents;
    const DesktopServices services{messages,   fileDialogs, settings,
                                   processors, seeds,       documents,
                                   userDecimalSeparator()};
    auto window = std::make_unique<CVeltmarkDlg>(services);
    window->openCommandLineArguments(QCoreApplication::arguments());
    window->show();
    const int status = QApplication::exec();
    window.reset();
    return status;
}
