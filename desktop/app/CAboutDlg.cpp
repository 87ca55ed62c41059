#include "desktop/app/CAboutDlg.h"

#include "desktop/app/DesktopResources.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    initDesktopResources();
    setWindowTitle(QString::fromUtf8("Info über Tamsel"));
    auto* icon = new QLabel(this);
    icon->setObjectName("aboutIcon");
    icon->setPixmap(QIcon(":/tamsel/tamsel.png").pixmap(48, 48));
    auto* version = new QLabel(VERSION_TEXT, this);
    version->setObjectName("versionLabel");
    auto* description = new QLabel(DESCRIPTION_TEXT, this);
    description->setObjectName("descriptionLabel");
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(description, 1, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    layout->setHorizontalSpacing(16);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
