#include "DesktopFixture.h"

#include "data/ProjectFile.h"

#include <QAbstractButton>
#include <QSettings>
#include <QTest>

EmptiedSettings::EmptiedSettings()
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QtSettingsStore::ORGANISATION,
                    QtSettingsStore::APPLICATION);
    store.clear();
    store.sync();
}

std::unique_ptr<CVeltmarkDlg> DesktopFixture::makeWindow()
{
    auto window = std::make_unique<CVeltmarkDlg>(DesktopServices{messages, fileDialogs, clipboard,
                                                                 settings, machine, machine,
                                                                 machine, DecimalSeparator('.')});
    window->show();
    return window;
}

std::unique_ptr<CVeltmarkDlg> DesktopFixture::windowWithMixedProject()
{
    auto window = makeWindow();
    UserSession session;
    typeMixedDesign(session);
    fileDialogs.answer = folder.path("mixed.vlt");
    EXPECT_TRUE(ProjectFile(session.sink)
                    .write(*fileDialogs.answer, session.commands.getDataTable(),
                           session.commands.getWithinTable()));
    window->openProject();
    EXPECT_EQ(window->windowTitle(), "mixed.vlt - Tamsel");
    return window;
}

void DesktopFixture::click(QWidget& parent, const char* name)
{
    QTest::mouseClick(child<QAbstractButton>(parent, name), Qt::LeftButton);
}

void DesktopFixture::clickIndicator(QWidget& parent, const char* name)
{
    auto* button = child<QAbstractButton>(parent, name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}
