#include "ModalCloser.h"

#include "desktop/platform/QtDecimalSeparator.h"
#include "desktop/platform/QtFileDialogs.h"
#include "desktop/platform/QtMessageSink.h"
#include "desktop/platform/QtSettingsStore.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <string>

TEST(QtSettingsStore, ValuesRoundTripInTheirSectionAndAnythingElseGivesTheDefault)
{
    QTemporaryDir folder;
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, folder.path());
    {
        QtSettingsStore store;
        store.writeInt("Preferences", "Number of threads", 3);
        store.writeString("Preferences", "Pathes to random numbers files",
                          "/u/Zürich/a.txt;/b.txt");
        store.writeString("Other", "Number of threads", "many");
    }
    const QtSettingsStore store;
    EXPECT_EQ(QString::fromStdString(store.location()), folder.path() + "/Tamsel/Tamsel.conf");
    EXPECT_EQ(store.readInt("Preferences", "Number of threads", 1), 3);
    EXPECT_EQ(store.readString("Preferences", "Pathes to random numbers files", ""),
              "/u/Zürich/a.txt;/b.txt");
    EXPECT_EQ(store.readInt("Other", "Number of threads", 4), 4) << "not a number";
    EXPECT_EQ(store.readString("Preferences", "Missing", "none"), "none");
}

// A message shows the box of its icon; a question the question box, answered by Yes or No.
TEST(QtMessageSink, EachMessageOrQuestionBecomesTheMatchingBox)
{
    const struct {
        std::optional<MessageIcon> icon; // none: a question, answered by button
        QMessageBox::Icon shown;
        QMessageBox::StandardButton button;
    } cases[] = {{MessageIcon::Error, QMessageBox::Critical, QMessageBox::NoButton},
                 {MessageIcon::Exclamation, QMessageBox::Warning, QMessageBox::NoButton},
                 {MessageIcon::Information, QMessageBox::Information, QMessageBox::NoButton},
                 {std::nullopt, QMessageBox::Question, QMessageBox::Yes},
                 {std::nullopt, QMessageBox::Question, QMessageBox::No}};
    for (const auto& c : cases) {
        QStringList shown;
        handleNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            shown = {box->windowTitle(), box->text(), QString::number(box->icon())};
            if (c.icon)
                box->close();
            else
                box->button(c.button)->click();
        });
        if (c.icon)
            QtMessageSink().showMessage("Empty cells", "Leave them out?", *c.icon);
        else
            EXPECT_EQ(QtMessageSink().askYesNo("Empty cells", "Leave them out?"),
                      c.button == QMessageBox::Yes);
        EXPECT_EQ(shown, (QStringList{"Empty cells", "Leave them out?", QString::number(c.shown)}));
    }
}

namespace {

class QtFileDialogsTest : public ::testing::Test {
protected:
    std::string path(const char* name) const { return folder.filePath(name).toStdString(); }

    /// Chooses name of the folder in the next file dialog; without a name, cancels it.
    void answer(const char* name, QStringList* shown = nullptr)
    {
        handleNextModal([this, name, shown](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr || name == nullptr)
                return static_cast<void>(modal->close());
            if (shown != nullptr)
                *shown = QStringList{dialog->windowTitle()} + dialog->nameFilters();
            dialog->selectFile(folder.filePath(name));
            static_cast<QDialog*>(dialog)->accept();
        });
    }

    QTemporaryDir folder;
    QtFileDialogs dialogs;
};

} // namespace

TEST_F(QtFileDialogsTest, OpenShowsTitleAndFiltersAndGivesTheChosenPathOrNone)
{
    ASSERT_TRUE(QFile(folder.filePath("old.vlt")).open(QIODevice::WriteOnly));
    QStringList shown;
    answer("old.vlt", &shown);
    EXPECT_EQ(dialogs.openFile("Open", "Veltmark-Files (*.vlt)|*.vlt|All Files (*.*)|*.*||"),
              path("old.vlt"));
    EXPECT_EQ(shown, (QStringList{"Open", "Veltmark-Files (*.vlt)", "All Files (*)"}));
    answer(nullptr);
    EXPECT_EQ(dialogs.openFile("Open", "Veltmark-Files (*.vlt)|*.vlt||"), std::nullopt);
}

TEST_F(QtFileDialogsTest, SaveAddsTheExtensionOfTheChosenFileType)
{
    answer("study");
    EXPECT_EQ(dialogs.saveFile("Save as", "Veltmark-Files (*.vlt)|*.vlt||", "vlt", ""),
              path("study.vlt"));
    handleNextModal([this](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        // What the dialog tells when the user picks the file type.
        emit dialog->filterSelected("SVG image (*.svg)");
        // selectFile leaves a focused name field as the user typed it.
        if (QWidget* focused = dialog->focusWidget())
            focused->clearFocus();
        dialog->selectFile(folder.filePath("chart"));
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(dialogs.saveFile("Save chart", "PNG image (*.png)|*.png|SVG image (*.svg)|*.svg||",
                               "png", ""),
              path("chart.svg"));
}

TEST(QtDecimalSeparator, CommaLocalesGiveTheCommaOthersThePoint)
{
    EXPECT_EQ(decimalSeparatorOf(QLocale(QLocale::German, QLocale::Germany)).get(), ',');
    EXPECT_EQ(decimalSeparatorOf(QLocale(QLocale::English, QLocale::UnitedStates)).get(), '.');
    // Egypt's Arabic separator is taken as the point, the only other one the tables know.
    EXPECT_EQ(decimalSeparatorOf(QLocale(QLocale::Arabic, QLocale::Egypt)).get(), '.');
}
