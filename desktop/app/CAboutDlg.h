#pragma once

#include <QDialog>

/// The about box: "Info über Tamsel", with the program icon, the version line, one line on
/// what the program does, and "OK".
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* VERSION_TEXT = "Tamsel, Version 1.0.4";
    static constexpr const char* DESCRIPTION_TEXT =
        "Repeated-measures ANOVA and MANOVA with Monte-Carlo power simulation.";

    explicit CAboutDlg(QWidget* parent = nullptr);
};
