#pragma once

#include <QApplication>

/// The application object: the windowing layer, the names under which the settings are
/// kept, the desktop's platform services, and the main window, run until it closes.
class CVeltmarkApp {
public:
    static constexpr const char* ORGANISATION = "Tamsel";
    static constexpr const char* NAME = "Tamsel";

    CVeltmarkApp(int& argc, char** argv);

    /// Creates the main window with the desktop's services, opens a project named on the
    /// command line, shows the window and runs until it closes. The window is destroyed
    /// (saving the preferences) before run returns.
    int run();

private:
    QApplication application;
};
