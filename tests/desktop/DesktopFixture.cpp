#include "DesktopFixture.h"

#include "data/ProjectFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

std::vector<std::string> ScriptedFileDialogs::next()
{
    if (answers.empty())
        return {};
    std::vector<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedFileDialogs::openFile(const std::string& title,
                                                         const std::string&)
{
    titles.push_back(title);
    const std::vector<std::string> answer = next();
    if (answer.empty())
        return std::nullopt;
    return answer.front();
}

std::vector<std::string> ScriptedFileDialogs::openFiles(const std::string& title,
                                                        const std::string&)
{
    titles.push_back(title);
    return next();
}

std::optional<std::string> ScriptedFileDialogs::saveFile(const std::string& title,
                                                         const std::string&, const std::string&,
                                                         const std::string&)
{
    titles.push_back(title);
    const std::vector<std::string> answer = next();
    if (answer.empty())
        return std::nullopt;
    return answer.front();
}

EmptiedSettings::EmptiedSettings()
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QtSettingsStore::ORGANISATION,
                    QtSettingsStore::APPLICATION);
    store.clear();
    store.sync();
}

DesktopServices DesktopFixture::services()
{
    return DesktopServices{messages, fileDialogs, settings, processors, seeds, documents,
                           DecimalSeparator('.')};
}

std::unique_ptr<CVeltmarkDlg> DesktopFixture::makeWindow()
{
    auto window = std::make_unique<CVeltmarkDlg>(services());
    window->show();
    return window;
}

std::string DesktopFixture::writeMixedProject(const std::string& name)
{
    UserSession session;
    typeMixedDesign(session);
    const std::string path = folder.path(name);
    ProjectFile file(session.sink);
    EXPECT_TRUE(file.write(path, session.commands.getDataTable(), session.commands.getWithinTable()));
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

void DesktopFixture::whenModalShown(std::function<void(QWidget*)> check)
{
    // Polls until the dialog's own event loop has shown it; the check then runs inside that
    // loop, as the user's clicks would.
    // A dialog that never appears lets the timer give up after ten seconds; the test then
    // fails on what the dialog should have done.
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    auto polls = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, check, polls]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            if (++*polls > 1000) {
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        check(modal);
    });
    timer->start();
}
