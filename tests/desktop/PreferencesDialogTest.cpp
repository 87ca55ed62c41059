// The preferences dialog on the main window's record.
#include "DesktopFixture.h"

#include "simulation/ui/PreferencesDialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {

constexpr const char* COUNT_MESSAGE =
    "The number of selected random numbers files\n must be equal to the number of threads.";

class PreferencesDialogTest : public DesktopFixture {
protected:
    Preferences preferences;
};

} // namespace

TEST_F(PreferencesDialogTest, SpinStaysBetweenOneAndTheProcessorCount)
{
    preferences.numberOfThreads = 2;
    PreferencesDialog dialog(preferences, 3, messages, fileDialogs);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Preferences");
    auto* spin = child<QSpinBox>(dialog, "threadsSpin");
    EXPECT_EQ(spin->text(), "2");
    spin->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->text(), "3");
    EXPECT_EQ(dialog.getEditor().getCopy().numberOfThreads, 3);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(dialog.getEditor().getCopy().numberOfThreads, 1);
    // Typing is not how the count changes.
    QTest::keyClicks(spin, "7");
    EXPECT_EQ(dialog.getEditor().getCopy().numberOfThreads, 1);
    QTest::mouseClick(child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    EXPECT_EQ(preferences.numberOfThreads, 1);
}

TEST_F(PreferencesDialogTest, FileModeChecksTheFileCount)
{
    preferences.numberOfThreads = 2;
    PreferencesDialog dialog(preferences, 4, messages, fileDialogs);
    dialog.show();
    EXPECT_TRUE(child<QRadioButton>(dialog, "twisterRadio")->isChecked());
    EXPECT_EQ(child<QRadioButton>(dialog, "twisterRadio")->text(),
              "Use Merseene Twister random numbers");
    EXPECT_FALSE(child<QPushButton>(dialog, "selectButton")->isEnabled());
    clickIndicator(child<QRadioButton>(dialog, "filesRadio"));
    EXPECT_TRUE(child<QPushButton>(dialog, "selectButton")->isEnabled());

    fileDialogs.answers.push_back({"/r/a.txt", "/r/b.txt", "/r/c.txt"});
    QTest::mouseClick(child<QPushButton>(dialog, "selectButton"), Qt::LeftButton);
    EXPECT_EQ(lastDialogTitle(), "Select random numbers file(s)");
    EXPECT_EQ(child<QLineEdit>(dialog, "filesEdit")->text(), "/r/a.txt;/r/b.txt;/r/c.txt");
    QTest::mouseClick(child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    EXPECT_EQ(takeMessages(), std::vector<std::string>{COUNT_MESSAGE});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(preferences.useMersenneTwister, 1);

    // A cancelled file dialog keeps the list; selecting again replaces it.
    fileDialogs.answers.push_back({});
    QTest::mouseClick(child<QPushButton>(dialog, "selectButton"), Qt::LeftButton);
    EXPECT_EQ(child<QLineEdit>(dialog, "filesEdit")->text(), "/r/a.txt;/r/b.txt;/r/c.txt");
    fileDialogs.answers.push_back({"/r/d.txt", "/r/e.txt"});
    QTest::mouseClick(child<QPushButton>(dialog, "selectButton"), Qt::LeftButton);
    // Switching to the twister and back disables "Select" for a while and keeps the list.
    clickIndicator(child<QRadioButton>(dialog, "twisterRadio"));
    EXPECT_FALSE(child<QPushButton>(dialog, "selectButton")->isEnabled());
    clickIndicator(child<QRadioButton>(dialog, "filesRadio"));
    QTest::mouseClick(child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(preferences.useMersenneTwister, 0);
    EXPECT_EQ(preferences.randomNumbersFiles, "/r/d.txt;/r/e.txt");
}

TEST_F(PreferencesDialogTest, OpensOnTheRecordAndCancelLeavesIt)
{
    preferences.numberOfThreads = 2;
    preferences.useMersenneTwister = 0;
    preferences.randomNumbersFiles = "/r/a.txt";
    PreferencesDialog dialog(preferences, 4, messages, fileDialogs);
    dialog.show();
    EXPECT_TRUE(child<QRadioButton>(dialog, "filesRadio")->isChecked());
    EXPECT_TRUE(child<QPushButton>(dialog, "selectButton")->isEnabled());
    EXPECT_EQ(child<QLineEdit>(dialog, "filesEdit")->text(), "/r/a.txt");
    clickIndicator(child<QRadioButton>(dialog, "twisterRadio"));
    QTest::keyClick(child<QSpinBox>(dialog, "threadsSpin"), Qt::Key_Up);
    QTest::mouseClick(child<QPushButton>(dialog, "cancelButton"), Qt::LeftButton);
    EXPECT_EQ(preferences.numberOfThreads, 2);
    EXPECT_EQ(preferences.useMersenneTwister, 0);
}

TEST_F(PreferencesDialogTest, RoundTripThroughTheSettingsStore)
{
    // The menu command of the main window, the dialog, the store written when the window
    // closes, and the next start; a changed thread count waits for that start.
    {
        auto window = makeWindow();
        handleNextModal([&](QWidget* modal) {
            QTest::keyClick(modal->findChild<QSpinBox*>("threadsSpin"), Qt::Key_Down);
            clickIndicator(modal->findChild<QRadioButton*>("filesRadio"));
            fileDialogs.answers.push_back({"/r/only.txt"});
            QTest::mouseClick(modal->findChild<QPushButton*>("selectButton"), Qt::LeftButton);
            QTest::mouseClick(modal->findChild<QPushButton*>("okButton"), Qt::LeftButton);
        });
        window->editPreferences();
        EXPECT_EQ(window->getPreferences().numberOfThreads, 1);
        EXPECT_EQ(window->getPreferences().useMersenneTwister, 0);
        EXPECT_EQ(window->getCommands().getEngineCount(), 2);
    }
    auto restarted = makeWindow();
    EXPECT_EQ(restarted->getCommands().getEngineCount(), 1);
    EXPECT_EQ(restarted->getPreferences().useMersenneTwister, 0);
    EXPECT_EQ(restarted->getPreferences().randomNumbersFiles, "/r/only.txt");
}
