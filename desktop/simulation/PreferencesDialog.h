#pragma once

#include "platform/FileDialogs.h"
#include "platform/MessageSink.h"
#include "simulation/PreferencesEditor.h"
#include "stats/Preferences.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class ThreadSpinBox;

/// "Preferences": the number of threads, and the Mersenne Twister (drawing rows or
/// summaries) or random-numbers files as the source of the deviates. It edits a copy through
/// PreferencesEditor, which follows every click, and writes it into the main window's record on a
/// consistent OK.
class PreferencesDialog : public QDialog {
    Q_OBJECT

public:
    /// preferences is the main window's record; maxThreads the processor count. Nothing is
    /// owned.
    PreferencesDialog(Preferences& preferences, int maxThreads, MessageSink& messages,
                      FileDialogs& fileDialogs, QWidget* parent = nullptr);

    const PreferencesEditor& getEditor() const { return editor; }

public slots:
    /// "Select": the files of the multi-selection dialog replace the list.
    void selectFiles();
    /// "OK": closes when the editor accepts the copy.
    void confirm();

private:
    void sourceChosen();
    void showFiles();

    PreferencesEditor editor;
    FileDialogs& fileDialogs;
    ThreadSpinBox* threads = nullptr;
    QRadioButton* twisterRadio = nullptr;
    QRadioButton* filesRadio = nullptr;
    /// Ticked for the summary sampler; only with the Mersenne Twister.
    QCheckBox* summaryBox = nullptr;
    QPushButton* selectButton = nullptr;
    QLineEdit* filesEdit = nullptr;
};
