#include "desktop/app/DescriptivesDlg.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

DescriptivesDlg::DescriptivesDlg(const QString& table, QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Descriptive statistics");
    auto* text = new QPlainTextEdit(table, this);
    text->setObjectName("descriptivesText");
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    text->setFont(font);
    // Wide enough for the table's longest line and a scroll bar; the rows scroll.
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& line : table.split('\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    text->setMinimumWidth(widest + 4 * metrics.averageCharWidth() + 24);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
}
