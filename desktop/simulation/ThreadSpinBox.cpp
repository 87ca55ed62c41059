#include "desktop/simulation/ThreadSpinBox.h"

#include <QLineEdit>

ThreadSpinBox::ThreadSpinBox(QWidget* parent) : QSpinBox(parent)
{
    lineEdit()->setReadOnly(true);
}

void ThreadSpinBox::stepBy(int steps)
{
    setValue(onStep ? onStep(value(), steps) : value() + steps);
}
