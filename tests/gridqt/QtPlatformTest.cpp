#include "ModalCloser.h"

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
#include <QLocale>
#include <QMessageBox>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

/// Stands in for the desktop's viewer: QDesktopServices hands it the URLs it would open.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void openUrl(const QUrl& url) { urls.append(url); }
};

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
        store.writeInt("Preferences", "Number of threads", 3);
        store.writeString("Preferences", "Pathes to random numbers files",
                          "/home/u/Zürich/a.txt;/home/u/b.txt");
    }
    const QtSettingsStore store;
    EXPECT_EQ(store.readInt("Preferences", "Number of threads", 1), 3);
    EXPECT_EQ(store.readString("Preferences", "Pathes to random numbers files", ""),
              "/home/u/Zürich/a.txt;/home/u/b.txt");
    // A section is a group of the per-user file Tamsel/Tamsel.conf.
    const QString file = folder.path() + "/Tamsel/Tamsel.conf";
    EXPECT_EQ(QString::fromStdString(store.location()), file);
    QSettings raw(file, QSettings::IniFormat);
    EXPECT_EQ(raw.childGroups(), QStringList{"Preferences"});
    EXPECT_EQ(raw.value("Preferences/Number of threads").toInt(), 3);
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

TEST(QtMessageSink, EachIconBecomesTheMatchingBoxWithTitleAndText)
{
    const QString text = "In your regional settings ',' is selected as decimal separator.";
    for (const auto& [icon, expected] : {std::pair{MessageIcon::Error, QMessageBox::Critical},
                                         std::pair{MessageIcon::Exclamation, QMessageBox::Warning},
                                         std::pair{MessageIcon::Information,
                                                   QMessageBox::Information}}) {
        QStringList shown;
        handleNextModal([&](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                shown = {box->windowTitle(), box->text(), QString::number(box->icon())};
            modal->close();
        });
        QtMessageSink().showMessage("Veltmark", text.toStdString(), icon);
        EXPECT_EQ(shown, (QStringList{"Veltmark", text, QString::number(expected)}));
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

    /// Runs handle on the next file dialog; any other window is closed.
    static void onFileDialog(std::function<void(QFileDialog&)> handle)
    {
        handleNextModal([handle = std::move(handle)](QWidget* modal) {
            if (auto* dialog = qobject_cast<QFileDialog*>(modal))
                handle(*dialog);
            else
                modal->close();
        });
    }

    /// Chooses name of the folder in the dialog and accepts it, as a click on the dialog's
    /// button would (accept is protected in QFileDialog; through QDialog it still runs the
    /// override).
    void choose(QFileDialog& dialog, const char* name)
    {
        dialog.selectFile(folder.filePath(name));
        static_cast<QDialog&>(dialog).accept();
    }

    QTemporaryDir folder;
    QtFileDialogs dialogs;
};

} // namespace

TEST_F(QtFileDialogsTest, OpenShowsTitleAndFiltersAndGivesTheChosenPath)
{
    QString title;
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    onFileDialog([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        filters = dialog.nameFilters();
        mode = dialog.fileMode();
        choose(dialog, "old.vlt");
    });
    EXPECT_EQ(dialogs.openFile("Open", "Veltmark-Files (*.vlt)|*.vlt|All Files (*.*)|*.*||"),
              path("old.vlt"));
    EXPECT_EQ(title, QString("Open"));
    EXPECT_EQ(filters, (QStringList{"Veltmark-Files (*.vlt)", "All Files (*)"}));
    EXPECT_EQ(mode, QFileDialog::ExistingFile);
}

TEST_F(QtFileDialogsTest, OpenFilesGivesEveryChosenPath)
{
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    onFileDialog([&](QFileDialog& dialog) {
        mode = dialog.fileMode();
        dialog.setDirectory(folder.path());
        dialog.selectFile("\"a.txt\" \"b.txt\"");
        static_cast<QDialog&>(dialog).accept();
    });
    const std::vector<std::string> chosen =
        dialogs.openFiles("Select random numbers file(s)", "Text-Files (*.txt)|*.txt||");
    EXPECT_EQ(mode, QFileDialog::ExistingFiles);
    EXPECT_EQ(std::set<std::string>(chosen.begin(), chosen.end()),
              (std::set<std::string>{path("a.txt"), path("b.txt")}));
}

TEST_F(QtFileDialogsTest, CancelGivesNoPath)
{
    const auto cancel = [](QFileDialog& dialog) { dialog.reject(); };
    onFileDialog(cancel);
    EXPECT_EQ(dialogs.openFile("Open", "Veltmark-Files (*.vlt)|*.vlt||"), std::nullopt);
    onFileDialog(cancel);
    EXPECT_TRUE(dialogs.openFiles("Select", "Text-Files (*.txt)|*.txt||").empty());
}

TEST_F(QtFileDialogsTest, SaveProposesTheNameAndAddsTheDefaultExtension)
{
    QStringList proposed;
    onFileDialog([&](QFileDialog& dialog) {
        proposed = dialog.selectedFiles();
        choose(dialog, "study");
    });
    EXPECT_EQ(dialogs.saveFile("Save as", "Veltmark-Files (*.vlt)|*.vlt|All Files (*.*)|*.*||",
                               "vlt", path("old.vlt")),
              path("study.vlt"));
    EXPECT_EQ(proposed, QStringList{folder.filePath("old.vlt")});
}

TEST_F(QtFileDialogsTest, SavingOverAnExistingFileAsksFirst)
{
    QString question;
    onFileDialog([&](QFileDialog& dialog) {
        // The prompt opens inside accept; it is answered with Yes.
        handleNextModal([&](QWidget* prompt) {
            if (auto* box = qobject_cast<QMessageBox*>(prompt)) {
                question = box->text();
                box->button(QMessageBox::Yes)->click();
            } else {
                prompt->close();
            }
        });
        choose(dialog, "old.vlt");
    });
    EXPECT_EQ(dialogs.saveFile("Save as", "Veltmark-Files (*.vlt)|*.vlt||", "vlt", ""),
              path("old.vlt"));
    EXPECT_TRUE(question.contains("old.vlt")) << question.toStdString();
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
    // As the regional conventions have them; Egypt's Arabic separator U+066B is taken as
    // the point, the only other separator the tables know.
    EXPECT_EQ(decimalSeparatorOf(QLocale(QLocale::German, QLocale::Germany)).get(), ',');
    EXPECT_EQ(decimalSeparatorOf(QLocale(QLocale::French, QLocale::France)).get(), ',');
    EXPECT_EQ(decimalSeparatorOf(QLocale(QLocale::English, QLocale::UnitedStates)).get(), '.');
    EXPECT_EQ(decimalSeparatorOf(QLocale(QLocale::German, QLocale::Switzerland)).get(), '.');
    EXPECT_EQ(decimalSeparatorOf(QLocale(QLocale::Arabic, QLocale::Egypt)).get(), '.');
}

#include "QtPlatformTest.moc"
