// The desktop tests need one QApplication for the whole run, and must never write into the
// user's real settings: Qt's own file dialog keeps its history in the settings store too.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // ctest sets the platform; this covers a direct run and the test discovery at build
    // time, which happen without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsFolder;
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, settingsFolder.path());
        QSettings::setPath(format, QSettings::SystemScope, settingsFolder.path());
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
