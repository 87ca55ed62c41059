#include "desktop/platform/QtMessageSink.h"

#include <QMessageBox>
#include <QString>

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtMessageSink::QtMessageSink(QWidget* parentWidget) : parent(parentWidget)
{
}

void QtMessageSink::showMessage(const std::string& title, const std::string& text, MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok, parent.data());
    box.exec();
}

bool QtMessageSink::askYesNo(const std::string& title, const std::string& question)
{
    QMessageBox box(QMessageBox::Question, QString::fromStdString(title),
                    QString::fromStdString(question), QMessageBox::Yes | QMessageBox::No,
                    parent.data());
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
