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
    auto window = std::make_unique<CVeltmarkDlg>(DesktopServices{
        messages, fileDialogs, settings, processors, seeds, documents, DecimalSeparator('.')});
    window->show();
    return window;
}

std::unique_ptr<CVeltmarkDlg> DesktopFixture::windowWithMixedProject()
{
    auto window = makeWindow();
    fileDialogs.answers.push_back({writeMixedProject("mixed.vlt")});
    window->openProject();
    EXPECT_EQ(window->windowTitle(), "mixed.vlt - Tamsel");
    return window;
}

std::string DesktopFixture::writeMixedProject(const std::string& name)
{
    UserSession session;
    typeMixedDesign(session);
    const std::string path = folder.path(name);
    ProjectFile file(session.sink);
    EXPECT_TRUE(
        file.write(path, session.commands.getDataTable(), session.commands.getWithinTable()));
    return path;
}

std::vector<std::string> DesktopFixture::takeMessages()
{
    std::vector<std::string> texts;
    for (const RecordingMessageSink::Message& message : messages.messages)
        texts.push_back(message.text);
    messages.messages.clear();
    return texts;
}

void DesktopFixture::clickIndicator(QAbstractButton* button)
{
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}
