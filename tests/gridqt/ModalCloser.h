#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>

/// Runs handle on the next modal window that opens (a message box, a file dialog or a
/// window of the program, run by the code under test); handle must close it. Polls, because the window appears only
/// inside the nested event loop of exec. Should none appear within the time limit, every
/// open dialog is rejected so that the test fails instead of hanging.
inline void handleNextModal(std::function<void(QWidget*)> handle, int limitMilliseconds = 5000)
{
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    constexpr int STEP = 10;
    QObject::connect(timer, &QTimer::timeout,
                     [timer, waited, handle = std::move(handle), limitMilliseconds] {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (modal != nullptr && modal->isVisible()) {
                             timer->stop();
                             timer->deleteLater();
                             handle(modal);
                             return;
                         }
                         *waited += STEP;
                         if (*waited < limitMilliseconds)
                             return;
                         timer->stop();
                         timer->deleteLater();
                         for (QWidget* window : QApplication::topLevelWidgets()) {
                             if (auto* dialog = qobject_cast<QDialog*>(window);
                                 dialog != nullptr && dialog->isVisible())
                                 dialog->reject();
                         }
                     });
    timer->start(STEP);
}
