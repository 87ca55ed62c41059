#pragma once

#include <QSpinBox>

#include <functional>

/// The thread count of the preferences: arrows and arrow keys step it, its text cannot be
/// typed into. Every step is handed to onStep with the position and the change, which
/// returns the new position, so that the limits are the preferences' own.
class ThreadSpinBox : public QSpinBox {
public:
    explicit ThreadSpinBox(QWidget* parent = nullptr);

    void stepBy(int steps) override;

    std::function<int(int position, int change)> onStep;
};
