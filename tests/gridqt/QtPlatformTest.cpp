#include "ModalCloser.h"
#include "UrlRecorder.h"

#include "app/platform/qt/QtDecimalSeparator.h"
#include "app/platform/qt/QtDocumentOpener.h"
#include "app/platform/qt/QtFileDialogs.h"
#include "app/platform/qt/QtMessageSink.h"
#include "app/platform/qt/QtProcessorCount.h"
#include "app/platform/qt/QtSeedSource.h"
#include "app/platform/qt/QtSettingsStore.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

/// Points the per-user settings at a fresh folder for one test.
class QtSettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, folder.path());
    }

    QTemporaryDir folder;
};

} // namespace

TEST_F(QtSettingsStoreTest, ValuesWrittenByOneStoreAreReadByTheNext)
{
    {
        QtSettingsStore store;
        store.writeInt("Preferences", "Use Mersenne Twister", 0);
        store.writeInt("Preferences", "Number of threads", 3);
        store.writeString("Preferences", "Pathes to random numbers files",
                          "/home/u/Zürich/a.txt;/home/u/b.txt");
    }
    const QtSettingsStore store;
    EXPECT_EQ(store.readInt("Preferences", "Use Mersenne Twister", 1), 0);
    EXPECT_EQ(store.readInt("Preferences", "Number of threads", 1), 3);
    EXPECT_EQ(store.readString("Preferences", "Pathes to random numbers files", ""),
              "/home/u/Zürich/a.txt;/home/u/b.txt");
    EXPECT_TRUE(QString::fromStdString(store.location()).startsWith(folder.path()))
        << store.location();
}

TEST_F(QtSettingsStoreTest, MissingValuesAndNonNumbersGiveTheDefault)
{
    QtSettingsStore store;
    EXPECT_EQ(store.readInt("Preferences", "Number of threads", 4), 4);
    EXPECT_EQ(store.readString("Preferences", "Pathes to random numbers files", "none"), "none");
    store.writeString("Preferences", "Number of threads", "many");
    EXPECT_EQ(store.readInt("Preferences", "Number of threads", 4), 4);
    store.writeInt("Other", "Number of threads", 9);
    EXPECT_EQ(store.readInt("Preferences", "Number of threads", 4), 4) << "sections are apart";
}

TEST_F(QtSettingsStoreTest, ASectionIsAGroupOfTheTamselSettingsFile)
{
    {
        QtSettingsStore store;
        store.writeInt("Preferences", "Number of threads", 2);
    }
    const QString file = folder.path() + "/Tamsel/Tamsel.conf";
    ASSERT_TRUE(QFileInfo::exists(file)) << file.toStdString();
    QSettings raw(file, QSettings::IniFormat);
    EXPECT_EQ(raw.childGroups(), QStringList{"Preferences"});
    raw.beginGroup("Preferences");
    EXPECT_EQ(raw.value("Number of threads").toInt(), 2);
}

TEST(QtMessageSink, EachIconBecomesTheMatchingBoxWithTitleAndText)
{
    struct Case {
        MessageIcon icon;
        QMessageBox::Icon expected;
    };
    for (const Case& c : {Case{MessageIcon::Error, QMessageBox::Critical},
                          Case{MessageIcon::Exclamation, QMessageBox::Warning},
                          Case{MessageIcon::Information, QMessageBox::Information}}) {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        handleNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box != nullptr) {
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
            }
            modal->close();
        });
        QtMessageSink sink;
        sink.showMessage("Veltmark",
                         "In your regional settings ',' is selected as decimal separator.", c.icon);
        EXPECT_EQ(icon, c.expected);
        EXPECT_EQ(title, QString("Veltmark"));
        EXPECT_EQ(text, QString("In your regional settings ',' is selected as decimal separator."));
    }
}

namespace {

/// A folder with a project file and two text files, for the file dialogs.
class QtFileDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        for (const char* name : {"old.vlt", "a.txt", "b.txt"}) {
            QFile file(folder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }

    std::string path(const char* name) const { return folder.filePath(name).toStdString(); }

    QTemporaryDir folder;
    QtFileDialogs dialogs;
};

} // namespace

TEST_F(QtFileDialogsTest, OpenFileShowsTitleAndFiltersAndGivesTheChosenPath)
{
    QString title;
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    handleNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) {
            modal->close();
            return;
        }
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        mode = dialog->fileMode();
        dialog->selectFile(folder.filePath("old.vlt"));
        // accept is protected in QFileDialog; through QDialog it still runs its override.
        static_cast<QDialog*>(dialog)->accept();
    });
    const std::optional<std::string> chosen =
        dialogs.openFile("Open", "Veltmark-Files (*.vlt)|*.vlt|All Files (*.*)|*.*||");
    EXPECT_EQ(title, QString("Open"));
    EXPECT_EQ(filters, (QStringList{"Veltmark-Files (*.vlt)", "All Files (*)"}));
    EXPECT_EQ(mode, QFileDialog::ExistingFile);
    EXPECT_EQ(chosen, path("old.vlt"));
}

TEST_F(QtFileDialogsTest, CancelGivesNoPath)
{
    handleNextModal([](QWidget* modal) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    });
    EXPECT_EQ(dialogs.openFile("Open", "Veltmark-Files (*.vlt)|*.vlt||"), std::nullopt);
    handleNextModal([](QWidget* modal) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    });
    EXPECT_TRUE(
        dialogs.openFiles("Select random numbers file(s)", "Text-Files (*.txt)|*.txt||").empty());
}

TEST_F(QtFileDialogsTest, OpenFilesGivesEveryChosenPath)
{
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    handleNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) {
            modal->close();
            return;
        }
        mode = dialog->fileMode();
        dialog->setDirectory(folder.path());
        dialog->selectFile("\"a.txt\" \"b.txt\"");
        static_cast<QDialog*>(dialog)->accept();
    });
    const std::vector<std::string> chosen = dialogs.openFiles(
        "Select random numbers file(s)", "Text-Files (*.txt)|*.txt|All Files (*.*)|*.*||");
    EXPECT_EQ(mode, QFileDialog::ExistingFiles);
    EXPECT_EQ(std::set<std::string>(chosen.begin(), chosen.end()),
              (std::set<std::string>{path("a.txt"), path("b.txt")}));
}

TEST_F(QtFileDialogsTest, SaveProposesTheNameAndAddsTheDefaultExtension)
{
    QStringList proposed;
    handleNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) {
            modal->close();
            return;
        }
        proposed = dialog->selectedFiles();
        dialog->selectFile(folder.filePath("study"));
        static_cast<QDialog*>(dialog)->accept();
    });
    const std::optional<std::string> chosen = dialogs.saveFile(
        "Save as", "Veltmark-Files (*.vlt)|*.vlt|All Files (*.*)|*.*||", "vlt", path("old.vlt"));
    EXPECT_EQ(proposed, QStringList{folder.filePath("old.vlt")});
    EXPECT_EQ(chosen, path("study.vlt"));
}

TEST_F(QtFileDialogsTest, SavingOverAnExistingFileAsksFirst)
{
    QString question;
    handleNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) {
            modal->close();
            return;
        }
        // The prompt opens inside accept; it is answered with Yes.
        handleNextModal([&](QWidget* prompt) {
            auto* box = qobject_cast<QMessageBox*>(prompt);
            if (box != nullptr) {
                question = box->text();
                box->button(QMessageBox::Yes)->click();
                return;
            }
            prompt->close();
        });
        dialog->selectFile(folder.filePath("old.vlt"));
        static_cast<QDialog*>(dialog)->accept();
    });
    const std::optional<std::string> chosen =
        dialogs.saveFile("Save as", "Veltmark-Files (*.vlt)|*.vlt||", "vlt", "");
    EXPECT_TRUE(question.contains("old.vlt")) << question.toStdString();
    EXPECT_EQ(chosen, path("old.vlt"));
}

TEST(QtProcessorCount, AtLeastOneAndNoMoreThanTheMachineHas)
{
    const int count = QtProcessorCount().count();
    EXPECT_GE(count, 1);
    const unsigned online = std::thread::hardware_concurrency();
    if (online > 0) {
        EXPECT_LE(count, static_cast<int>(online));
    }
}

TEST(QtSeedSource, DrawsDifferentValues)
{
    QtSeedSource source;
    std::set<std::uint32_t> seeds;
    for (int i = 0; i < 8; ++i)
        seeds.insert(source.nextSeed());
    // Eight equal draws of a 32-bit source have probability 2^-224.
    EXPECT_GT(seeds.size(), 1u);
}

TEST(QtDocumentOpener, HandsTheFileToTheDesktopAsAFileUrl)
{
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("file", &recorder, "openUrl");
    const std::string manual = "/opt/tamsel/bin/Tamsel User Manual.pdf";
    const bool opened = QtDocumentOpener().open(manual);
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_TRUE(opened);
    ASSERT_EQ(recorder.urls.size(), 1);
    EXPECT_EQ(recorder.urls.front().scheme(), QString("file"));
    EXPECT_EQ(recorder.urls.front().toLocalFile().toStdString(), manual);
}

TEST(QtDecimalSeparator, CommaLocalesGiveTheCommaOthersThePoint)
{
    // Separators as the regional conventions have them: comma in Germany and France, point
    // in the United States and in German-speaking Switzerland, the Arabic decimal
    // separator U+066B in Egypt, which the tables take as the point.
    EXPECT_EQ(decimalSeparatorOf(QLocale(QLocale::German, QLocale::Germany)).get(), ',');
    EXPECT_EQ(decimalSeparatorOf(QLocale(QLocale::French, QLocale::France)).get(), ',');
    EXPECT_EQ(decimalSeparatorOf(QLocale(QLocale::English, QLocale::UnitedStates)).get(), '.');
    EXPECT_EQ(decimalSeparatorOf(QLocale(QLocale::German, QLocale::Switzerland)).get(), '.');
    EXPECT_EQ(decimalSeparatorOf(QLocale(QLocale::Arabic, QLocale::Egypt)).get(), '.');
}
