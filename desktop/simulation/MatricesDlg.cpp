#include "desktop/simulation/MatricesDlg.h"

#include "desktop/grid/GridView.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

MatricesDlg::MatricesDlg(RealMatrix& means, RealMatrix& sds, RealMatrix& correlations,
                         const Design& design, DecimalSeparator separator, QWidget* parent)
    : QDialog(parent), grid(separator), editor(means, sds, correlations, design, grid)
{
    setWindowTitle("Matrices");
    tabs = new QTabBar(this);
    tabs->setObjectName("matrixTabs");
    for (const char* name : MatricesEditor::TAB_NAMES)
        tabs->addTab(name);
    tabs->setExpanding(false);
    view = new GridView(grid, this);
    view->setObjectName("matrixGrid");

    // Neither button is a default button, so that Enter is the grid's alone.
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("okButton");
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cancelButton");
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &MatricesDlg::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(tabs, &QTabBar::currentChanged, this, &MatricesDlg::selectTab);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->addWidget(tabs);
    layout->addWidget(view, 1);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    resize(930, 660);
}

MatricesDlg::~MatricesDlg()
{
    // The view refers to the grid, a member that goes before the base class would delete
    // its child widgets; so the view goes first.
    delete view;
}

void MatricesDlg::selectTab(int tab)
{
    // A tab the user is still editing in is ended first, so that the edit is read back.
    if (view->isEditing())
        view->commitEdit();
    editor.selectTab(tab);
}

void MatricesDlg::confirm()
{
    if (view->isEditing())
        view->commitEdit();
    editor.accept();
    accept();
}
