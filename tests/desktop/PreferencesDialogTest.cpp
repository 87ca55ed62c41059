#include "DesktopFixture.h"

#include "desktop/simulation/PreferencesDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QMenuBar>
#include <QSpinBox>
#include <QTest>

TEST_F(DesktopFixture, PreferencesShowTheirTextsBoundTheSpinAndRefuseMoreFilesThanThreads)
{
    Preferences preferences;
    preferences.numberOfThreads = 2;
    PreferencesDialog dialog(preferences, 3, messages, fileDialogs);
    dialog.show();
    const QStringList shown{dialog.windowTitle(), text(dialog, "twisterRadio"),
                            text(dialog, "filesRadio"), text(dialog, "selectButton")};
    EXPECT_EQ(shown, (QStringList{"Preferences", "Use Merseene Twister random numbers",
                                  "Use random numbers from file", "Select"}));
    auto* spin = child<QSpinBox>(dialog, "threadsSpin");
    for (const auto& [key, shownCount] :
         {std::pair{Qt::Key_Up, "3"}, std::pair{Qt::Key_Down, "1"}}) {
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(spin, key);
        EXPECT_EQ(spin->text(), shownCount) << "between one and the processor count";
    }
    auto* summaries = child<QCheckBox>(dialog, "summaryBox");
    EXPECT_TRUE(summaries->isChecked() && summaries->isEnabled());
    clickIndicator(dialog, "filesRadio");
    EXPECT_FALSE(summaries->isEnabled()) << "files always draw rows";
    fileDialogs.files = {"/r/a.txt", "/r/b.txt"};
    click(dialog, "selectButton");
    EXPECT_EQ(fileDialogs.titles, std::vector<std::string>{"Select random numbers file(s)"});
    click(dialog, "okButton");
    EXPECT_EQ(takeMessages(),
              std::vector<std::string>{"The number of selected random numbers "
                                       "files\n must be equal to the number of threads."});
    click(dialog, "cancelButton");
    EXPECT_EQ(preferences.numberOfThreads, 2);
}

TEST_F(DesktopFixture, PreferencesRoundTripFromTheMenuThroughTheStoreToTheNextStart)
{
    {
        auto window = makeWindow();
        handleNextModal([&](QWidget* modal) {
            QTest::keyClick(child(*modal, "threadsSpin"), Qt::Key_Down);
            clickIndicator(*modal, "summaryBox");
            clickIndicator(*modal, "filesRadio");
            fileDialogs.files = {"/r/only.txt"};
            click(*modal, "selectButton");
            click(*modal, "okButton");
        });
        window->menuBar()->actions().at(0)->menu()->actions().last()->trigger();
        EXPECT_EQ(window->getCommands().getEngineCount(), 2) << "until the next start";
    }
    auto restarted = makeWindow();
    EXPECT_EQ(restarted->getCommands().getEngineCount(), 1);
    EXPECT_EQ(restarted->getPreferences().randomNumbersFiles, "/r/only.txt");
    EXPECT_EQ(restarted->getPreferences().sampler, SamplerRows);
}
