#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>

/// Runs handle, which must close it, on the next modal window (polled: it appears inside
/// exec's nested loop). Past the limit every open dialog is rejected, so a test fails
/// instead of hanging.
inline void handleNextModal(std::function<void(QWidget*)> handle, int limitMilliseconds = 5000)
{
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool found = modal != nullptr && modal->isVisible();
        if (!found && (*waited += 10) < limitMilliseconds)
            return;
        timer->stop();
        timer->deleteLater();
        if (found)
            return handle(modal);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
                dialog->reject();
        }
    });
    timer->start(10);
}
