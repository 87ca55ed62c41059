#pragma once

#include "data/SimulationMatricesGridCtrl.h"
#include "design/Design.h"
#include "numeric/DecimalSeparator.h"
#include "numeric/RealMatrix.h"
#include "simulation/MatricesEditor.h"

#include <QDialog>

class GridView;
class QPushButton;
class QTabBar;

/// The custom-matrices editor, "Matrices": a tab per population matrix over one grid. The
/// matrices are edited in place through MatricesEditor; OK reads the shown tab back and
/// ends with Accepted, Cancel ends with Rejected and reads nothing. Enter moves in the grid
/// and never closes the window.
class MatricesDlg : public QDialog {
    Q_OBJECT

public:
    /// Nothing is owned; the matrices and the design outlive the window.
    MatricesDlg(RealMatrix& means, RealMatrix& sds, RealMatrix& correlations, const Design& design,
                DecimalSeparator separator, QWidget* parent = nullptr);
    ~MatricesDlg() override;

    SimulationMatricesGridCtrl& getGrid() { return grid; }
    MatricesEditor& getEditor() { return editor; }

public slots:
    void selectTab(int tab);
    void confirm();

private:
    SimulationMatricesGridCtrl grid;
    MatricesEditor editor;
    QTabBar* tabs = nullptr;
    GridView* view = nullptr;
};
