#include "desktop/simulation/PreferencesDialog.h"

#include "desktop/simulation/ThreadSpinBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

PreferencesDialog::PreferencesDialog(Preferences& preferences, int maxThreads,
                                     MessageSink& messages, FileDialogs& dialogs, QWidget* parent)
    : QDialog(parent), editor(preferences, maxThreads, messages), fileDialogs(dialogs)
{
    setWindowTitle("Preferences");
    threads = new ThreadSpinBox(this);
    threads->setObjectName("threadsSpin");
    threads->setMinimumWidth(64);
    threads->setRange(1, editor.getMaxThreads());
    threads->setValue(editor.getCopy().numberOfThreads);
    threads->onStep = [this](int position, int change) { return editor.spin(position, change); };

    twisterRadio = new QRadioButton("Use Merseene Twister random numbers", this);
    twisterRadio->setObjectName("twisterRadio");
    filesRadio = new QRadioButton("Use random numbers from file", this);
    filesRadio->setObjectName("filesRadio");
    auto* source = new QButtonGroup(this);
    source->addButton(twisterRadio);
    source->addButton(filesRadio);
    (editor.getCopy().useMersenneTwister != 0 ? twisterRadio : filesRadio)->setChecked(true);
    connect(twisterRadio, &QRadioButton::clicked, this, &PreferencesDialog::sourceChosen);
    connect(filesRadio, &QRadioButton::clicked, this, &PreferencesDialog::sourceChosen);

    summaryBox = new QCheckBox("Draw each group's means and sums of squares instead of its\n"
                               "participants (the same results, faster for large samples)",
                               this);
    summaryBox->setObjectName("summaryBox");
    summaryBox->setChecked(editor.getCopy().sampler == SamplerSummary);
    connect(summaryBox, &QCheckBox::toggled, this,
            [this](bool checked) { editor.setSummarySampler(checked); });

    selectButton = new QPushButton("Select", this);
    selectButton->setObjectName("selectButton");
    selectButton->setAutoDefault(false);
    connect(selectButton, &QPushButton::clicked, this, &PreferencesDialog::selectFiles);
    filesEdit = new QLineEdit(this);
    filesEdit->setObjectName("filesEdit");
    filesEdit->setReadOnly(true);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cancelButton");
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &PreferencesDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* threadRow = new QHBoxLayout;
    threadRow->addWidget(new QLabel("Number of threads:", this));
    threadRow->addWidget(threads);
    threadRow->addWidget(new QLabel("maximum is number of cores (recommended).", this));
    threadRow->addStretch(1);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(selectButton);
    fileRow->addWidget(filesEdit, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(threadRow);
    layout->addSpacing(12);
    layout->addWidget(twisterRadio);
    auto* samplerRow = new QHBoxLayout;
    samplerRow->addSpacing(24);
    samplerRow->addWidget(summaryBox, 1);
    layout->addLayout(samplerRow);
    layout->addWidget(filesRadio);
    layout->addLayout(fileRow);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(480, 300);

    showFiles();
    sourceChosen();
}

void PreferencesDialog::sourceChosen()
{
    editor.setUseMersenneTwister(twisterRadio->isChecked());
    selectButton->setEnabled(editor.isSelectEnabled());
    summaryBox->setEnabled(editor.isSamplerEnabled());
}

void PreferencesDialog::selectFiles()
{
    const std::vector<std::string> paths =
        fileDialogs.openFiles(PreferencesEditor::FILE_DIALOG_TITLE, PreferencesEditor::FILE_FILTER);
    if (paths.empty())
        return;
    editor.setSelectedFiles(paths);
    showFiles();
}

void PreferencesDialog::showFiles()
{
    filesEdit->setText(QString::fromStdString(editor.getCopy().randomNumbersFiles));
}

void PreferencesDialog::confirm()
{
    if (editor.confirm())
        accept();
}
